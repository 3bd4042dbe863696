// The oldest model's whole read into the caller's data set: the wait for the
// start character, the dump with its empty reads, the check and the decoding.
// The first input byte says whether the device goes away once the line bytes
// are spent; otherwise the user cancels there.
#include "instruments/InstrumentData.h"
#include "instruments/Kx310Old.h"
#include "tests/common/RecordBytes.h"
#include "tests/common/RecordingListener.h"
#include "tests/common/ScriptedLink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    ScriptedLink link(QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)));
    if (data[0] & 1)
        link.VanishWhenSpent();
    RecordingListener listener;
    listener.cancelWhen = [&] { return link.Unread() == 0 && link.ReadsPastEnd() > 0; };

    InstrumentData target;
    target.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("kept")));
    auto saved = [&] { return Written([&](QIODevice& out) { target.Save(out); }); };
    const QByteArray before = saved();
    const TransferResult result = Kx310Old::Receive(link, listener, target);
    // One silent read ends the wait, at most twelve the dump.
    if (link.ReadsPastEnd() > Kx310Old::MaxEmptyReads + 1)
        __builtin_trap();
    if (result == TransferResult::Success) {
        if (target.GetCount() != 1 || target.GetBank(0)->GetName() != "0")
            __builtin_trap();
    } else if (saved() != before) {
        __builtin_trap();
    }
    target.Clear();
    return 0;
}
