// The Kx420 decoders over arbitrary record streams and setup bytes, and the
// upload packer over arbitrary records. Byte 0 is the grouping option; the
// rest fills the record area from its first record, then the setup area, and
// is cut into upload records (ID, name, location, date).
#include "instruments/InstrumentData.h"
#include "instruments/InstrumentDatabase.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/Kx420Translator.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    Kx420Translator t(data[0] & 1);
    const uint8_t* rest = data + 1;
    const int length = static_cast<int>(std::min<size_t>(size - 1, 80000));
    t.CopyToImage(rest, Kx420Translator::RecordStart, length);
    t.CopyToImage(rest, t.GetSetupStart(), std::min(length, t.GetSetupLength()));

    InstrumentData measured;
    t.DecodeData(measured);
    measured.Clear();
    InstrumentSetup setup;
    t.DecodeSetup(setup);
    t.EncodeSetup(setup);

    // Upload records of 24 bytes: 6 of ID, 8 of name (4 units), 8 of location, 2 of date.
    InstrumentDatabase database;
    for (int offset = 0; offset + 24 <= length; offset += 24) {
        const char* record = reinterpret_cast<const char*>(rest + offset);
        char16_t units[8];
        std::memcpy(units, record + 6, sizeof units);
        int16_t day = 0;
        std::memcpy(&day, record + 22, sizeof day);
        database.Add(InstrumentDatabaseItem(QByteArrayView(record, 6),
                                            QString(reinterpret_cast<const QChar*>(units), 4),
                                            QString(reinterpret_cast<const QChar*>(units + 4), 4),
                                            static_cast<double>(day) * 4.0));
    }
    Kx420Translator upload(1);
    upload.EncodeDatabase(database);
    return 0;
}
