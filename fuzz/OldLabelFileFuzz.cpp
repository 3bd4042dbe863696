// Older label files from arbitrary bytes: the header is checked whole before
// it is used, the numbers are bounded by the bytes and the cap, and whatever
// is read makes a template that can be fitted into the preview and a layout
// whose automatic counts never divide by zero.
#include "dataprocessing/LabelLayout.h"
#include "dataprocessing/OldLabelFile.h"
#include "documents/GlobalTextObject.h"
#include "documents/GroupObject.h"

#include <QBuffer>

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    OldLabelFile file;
    if (ReadOldLabelFile(in, file) != OldLabelRead::Read)
        return 0;
    const qint64 whole = (bytes.size() - OldLabelFile::HeaderSize) / 4;
    if (static_cast<qint64>(file.Numbers.size()) != std::min<qint64>(whole, OldLabelFile::MaxNumbers))
        std::abort();

    GlobalTextStorage texts;
    std::unique_ptr<GroupObject> label = MakeOldLabelTemplate(file, &texts);
    if (const std::optional<TRect> fitted = FitIntoPreview(label->GetRect(), 188, 120))
        label->SetRect(fitted->Left, fitted->Top, fitted->Right, fitted->Bottom);

    LabelSheetLayout layout{file.LabelWidth * 0.1,      file.LabelHeight * 0.1,     file.LeftMargin * 0.1,
                            file.TopMargin * 0.1,       file.HorizontalSpace * 0.1, file.VerticalSpace * 0.1,
                            file.Across,                file.Down};
    AutomaticCounts(file.PageWidth, file.PageHeight, layout);
    return 0;
}
