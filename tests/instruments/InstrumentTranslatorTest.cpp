#include <gtest/gtest.h>

#include "instruments/InstrumentTranslator.h"

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

namespace {

std::unique_ptr<InstrumentTranslator> Kx420()
{
    auto t = CreateTranslatorForModel(ModelCode::Kx420, 1);
    EXPECT_NE(t, nullptr);
    return t;
}

} // namespace

TEST(TranslatorModelTest, AreasAreWholeBlocksInsideTheImage)
{
    for (const TranslatorModel& m : TranslatorModels) {
        SCOPED_TRACE(m.Name);
        for (auto [start, length] : {std::pair{m.DataStart, m.DataLength}, {m.SetupStart, m.SetupLength},
                                     {m.DatabaseStart, m.DatabaseLength}}) {
            EXPECT_EQ(start % m.BlockSize, 0);
            EXPECT_EQ(length % m.BlockSize, 0);
            EXPECT_LE(start + length, m.ImageSize);
        }
        // Only models with a setup area can have a writable one.
        if (m.SetupWritable) {
            EXPECT_GT(m.SetupLength, 0);
        }
    }
    EXPECT_EQ(FindTranslatorModel(ModelCode::Kx310)->Name, std::string("Kx310.2"));
    EXPECT_FALSE(FindTranslatorModel(ModelCode::Kx320)->NumberedBlocks);
    EXPECT_FALSE(FindTranslatorModel(ModelCode::Kx340)->NumberedBlocks);
    EXPECT_FALSE(FindTranslatorModel(ModelCode::Kx350)->SetupWritable);
    EXPECT_FALSE(FindTranslatorModel(ModelCode::Kx340)->SetupWritable);
    EXPECT_EQ(FindTranslatorModel(0), nullptr);
    EXPECT_EQ(FindTranslatorModel(9), nullptr);
}

TEST(TranslatorFactoryTest, UnknownCodesGiveNoTranslator)
{
    for (int code : {-1, 0, 9, 256, INT_MAX})
        EXPECT_EQ(CreateTranslatorForModel(code, 1), nullptr) << code;
    for (int code = ModelCode::Kx340; code <= ModelCode::Kx440; ++code)
        if (auto t = CreateTranslatorForModel(code, 0)) {
            EXPECT_EQ(t->GetModel().Code, code);
        }
}

TEST(TranslatorFactoryTest, Kx420SlotsComeFromItsRow)
{
    auto t = Kx420();
    EXPECT_EQ(t->GetModelName(), QByteArray("Kx420"));
    EXPECT_EQ(t->GetDataStart(), 512);
    EXPECT_EQ(t->GetDataLength(), 81408);
    EXPECT_EQ(t->GetSetupStart(), 0);
    EXPECT_EQ(t->GetSetupLength(), 512);
    EXPECT_EQ(t->GetDatabaseStart(), 512);
    EXPECT_EQ(t->GetDatabaseLength(), 261632);
    EXPECT_EQ(t->GetBlockSize(), 256);
    EXPECT_TRUE(t->UsesNumberedBlocks());
    EXPECT_EQ(t->GetModelConstant(), 61);
    EXPECT_TRUE(t->CanWriteSetup());
    EXPECT_EQ(t->GetImageSize(), 262144);
    EXPECT_TRUE(std::all_of(t->GetImage().begin(), t->GetImage().end(), [](uint8_t b) { return b == 0xFF; }));
}

TEST(ImageAccessTest, WordsAreLittleEndianSignedOrUnsigned)
{
    auto t = Kx420();
    t->SetUInt16(10, 0x8001);
    EXPECT_EQ(t->GetByte(10), 0x01);
    EXPECT_EQ(t->GetByte(11), 0x80);
    EXPECT_EQ(t->GetUInt16(10), 0x8001);
    EXPECT_EQ(t->GetInt16(10), -32767);
    t->SetByte(12, 0xAB);
    EXPECT_EQ(t->GetByte(12), 0xAB);
}

TEST(ImageAccessTest, NothingIsWrittenOrReadOutsideTheImage)
{
    auto t = Kx420();
    const int size = t->GetImageSize();
    const std::vector<uint8_t> before = t->GetImage();

    t->SetByte(-1, 0);
    t->SetByte(size, 0);
    t->SetUInt16(size - 1, 0); // would straddle the end
    t->SetUInt16(-1, 0);
    EXPECT_EQ(t->GetImage(), before);
    EXPECT_EQ(t->GetByte(size), 0xFF);
    EXPECT_EQ(t->GetByte(-5), 0xFF);
    EXPECT_EQ(t->GetUInt16(size - 1), 0xFFFF);

    std::array<uint8_t, 256> block{};
    EXPECT_FALSE(t->CopyToImage(block.data(), size - 255, 256));
    EXPECT_FALSE(t->CopyToImage(block.data(), -256, 256));
    EXPECT_FALSE(t->CopyToImage(block.data(), 0x7FFFFF00, 256)); // block number far past the end
    EXPECT_FALSE(t->CopyToImage(block.data(), 0, -1));
    EXPECT_FALSE(t->CopyToImage(nullptr, 0, 1));
    EXPECT_EQ(t->GetImage(), before);
    EXPECT_FALSE(t->CopyFromImage(block.data(), INT_MAX, 256));

    // The last whole block still fits.
    EXPECT_TRUE(t->CopyToImage(block.data(), size - 256, 256));
    EXPECT_EQ(t->GetByte(size - 256), 0);
    EXPECT_EQ(t->GetByte(size - 257), 0xFF);
    std::array<uint8_t, 4> out{1, 2, 3, 4};
    EXPECT_TRUE(t->CopyFromImage(out.data(), size - 258, 4));
    EXPECT_EQ(out, (std::array<uint8_t, 4>{0xFF, 0xFF, 0, 0}));
    EXPECT_TRUE(t->CopyToImage(block.data(), size, 0));
}
