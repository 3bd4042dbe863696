// Container header, section seek and the text primitives over arbitrary files.
#include "storage/File.h"

#include <QBuffer>
#include <QTemporaryFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTemporaryFile file;
    if (!file.open())
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    try {
        FileReader reader(file.fileName());
        reader.IsLegacyFormat();
        for (int32_t tag : {Tag::Revd, FourCC("form"), Tag::Data, Tag::Revi}) {
            if (reader.SeekSection(tag)) {
                QIODevice& s = reader.GetStream();
                for (int i = 0; i < 8 && !s.atEnd() && !IsStreamDamaged(s); ++i) {
                    ReadAnsiString(s);
                    ReadWideString(s);
                    ReadDouble(s);
                }
            }
        }
    } catch (const EFOpenError&) {
    }
    return 0;
}
