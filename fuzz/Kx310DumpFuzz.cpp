// The oldest model's dump: receiving it from arbitrary line bytes, checking
// and decoding it.
#include "instruments/InstrumentData.h"
#include "instruments/Kx310Old.h"
#include "tests/common/RecordingListener.h"
#include "tests/common/ScriptedLink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedLink link(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    // The wait for the start character ends only on a cancel: give up once
    // the input is spent.
    RecordingListener listener;
    listener.cancelWhen = [&] { return link.Unread() == 0 && link.ReadsPastEnd() > 0; };
    QByteArray dump;
    Kx310Old::ReceiveDump(link, listener, dump);
    InstrumentData decoded;
    Kx310Old::IsDumpIntact(dump);
    Kx310Old::DecodeData(dump, decoded);
    // Any bytes at all decode without harm, whole dump or not.
    Kx310Old::DecodeData(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                         decoded);
    decoded.Clear();
    return 0;
}
