#pragma once
// Label files of the earlier program generation (".qfl"): a fixed header
// with the page, the sheet layout and the barcode's size, followed by the
// label numbers. They are only read: the wizard turns one into its state.

#include "storage/File.h"

#include <QIODevice>

#include <cstdint>
#include <memory>
#include <vector>

class GlobalTextStorage;
class GroupObject;

struct OldLabelFile
{
    static constexpr int32_t Magic = FourCC("QFL ");
    static constexpr qint64 HeaderSize = 156;
    // Numbers beyond these are ignored.
    static constexpr int MaxNumbers = 10000;

    // Lengths in tenths of a millimetre.
    int32_t PageWidth = 0;
    int32_t PageHeight = 0;
    int32_t Across = 0;
    int32_t Down = 0;
    int32_t TopMargin = 0;
    int32_t VerticalSpace = 0;
    int32_t LeftMargin = 0;
    int32_t HorizontalSpace = 0;
    int32_t LabelWidth = 0;
    int32_t LabelHeight = 0;
    int32_t BarcodeWidth = 0;
    int32_t BarcodeHeight = 0;
    // Only whether the description is there counts: it gets a text field.
    bool HasDescription = false;
    uint8_t FrameFlag = 0;
    // Non-zero: the digits go below the bars.
    uint8_t TextPosition = 0;
    std::vector<int32_t> Numbers;
};

enum class OldLabelRead {
    Read,
    // Another kind of file: left alone without a word.
    NotLabelFile,
    // Cut short, or a size or count of zero or less that nothing can be
    // laid out with.
    Damaged,
};

// Reads a label file from the stream's start position.
OldLabelRead ReadOldLabelFile(QIODevice& stream, OldLabelFile& file);

// The label template the file describes: the label frame, the description
// field when there is a description, and the barcode, in label coordinates.
std::unique_ptr<GroupObject> MakeOldLabelTemplate(const OldLabelFile& file, GlobalTextStorage* globalTexts);
