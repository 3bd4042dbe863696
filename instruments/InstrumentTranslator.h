#pragma once
// The translator of one instrument model: it owns a byte-for-byte copy of the
// instrument's memory (the image), says which address ranges the transfer
// moves and in which block size, decodes the measured-data area into banks,
// and for some models turns the setup area into a settings description and
// back or packs upload records into the image. The transfer code never looks
// inside the image; all model knowledge lives in the subclasses.

#include <QByteArray>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class InstrumentData;
class InstrumentSetup;
class InstrumentDatabase;

// Model codes the instruments report when identified.
namespace ModelCode {
constexpr int Kx340 = 1;
constexpr int Kx320 = 2;
constexpr int Kx310 = 3;
constexpr int Kx330 = 4;
constexpr int Kx350 = 5;
constexpr int Kx420 = 6;
constexpr int Kx460 = 7;
constexpr int Kx440 = 8;
} // namespace ModelCode

// What distinguishes one model's memory and transfer. Every start and length
// is a whole number of the model's blocks; a length of 0 means no such area.
struct TranslatorModel
{
    int Code;
    const char* Name;
    int ImageSize;
    bool NumberedBlocks; // framed protocol with absolute block numbers
    int BlockSize;
    int DataStart;
    int DataLength;
    int SetupStart;
    int SetupLength;
    int DatabaseStart;
    int DatabaseLength;
    int ModelConstant;
    // Only models with a real setup encoder may have their settings written:
    // writing the area of any other model would erase it with fill bytes.
    bool SetupWritable;
};

inline constexpr std::array<TranslatorModel, 8> TranslatorModels = {{
    // code             name       image   numbered block data        setup       upload          const writable
    {ModelCode::Kx310, "Kx310.2", 8192, true, 32, 0, 8064, 8064, 128, 0, 0, 13, true},
    {ModelCode::Kx320, "Kx320", 8192, false, 32, 0, 8192, 8192, 0, 0, 0, 1, false},
    {ModelCode::Kx340, "Kx340", 8192, false, 32, 0, 8064, 8064, 128, 0, 0, 1, false},
    {ModelCode::Kx330, "Kx330", 8192, true, 32, 0, 8064, 8064, 128, 0, 0, 13, true},
    {ModelCode::Kx350, "Kx350", 8192, true, 32, 0, 8064, 8064, 128, 0, 0, 1, false},
    {ModelCode::Kx420, "Kx420", 262144, true, 256, 512, 81408, 0, 512, 512, 261632, 61, true},
    // 10000 records of 8 bytes end inside block 312: the area is read up to
    // that block's end so that the last 16 records are not left out.
    {ModelCode::Kx460, "Kx460", 262144, true, 256, 0, 80128, 0, 0, 0, 0, 1, false},
    {ModelCode::Kx440, "Kx440", 262144, true, 256, 0, 80128, 0, 0, 0, 0, 1, false},
}};

// The row of a model code; nullptr for a code no model has.
const TranslatorModel* FindTranslatorModel(int code);

class InstrumentTranslator
{
public:
    virtual ~InstrumentTranslator();
    InstrumentTranslator(const InstrumentTranslator&) = delete;
    InstrumentTranslator& operator=(const InstrumentTranslator&) = delete;

    // Areas and transfer parameters, from the model's row.
    virtual int GetDataStart() const;
    virtual int GetDataLength() const;
    virtual int GetSetupStart() const;
    virtual int GetSetupLength() const;

    // Clears the description and fills it with the model's factory settings;
    // reads nothing from the image. Empty for models without settings.
    virtual void GetDefaultSetup(InstrumentSetup& setup);
    // Writes the description into the setup area (checksums included).
    // Empty unless CanWriteSetup().
    virtual void EncodeSetup(const InstrumentSetup& setup);
    // Clears the description and rebuilds it from the setup area.
    virtual void DecodeSetup(InstrumentSetup& setup);

    // Clears the data set and fills it from the measured-data area.
    virtual void DecodeData(InstrumentData& data) = 0;

    virtual int GetDatabaseStart() const;
    virtual int GetDatabaseLength() const;
    // Packs the upload records into the image (the list may be sorted and
    // thinned in place). Empty for models without an upload area.
    virtual void EncodeDatabase(InstrumentDatabase& database);

    // Caption of the progress window.
    virtual QByteArray GetModelName() const;
    virtual bool UsesNumberedBlocks() const;
    virtual int GetBlockSize() const;
    virtual int GetModelConstant() const;

    // False for every model whose settings must not be written.
    bool CanWriteSetup() const { return m_model.SetupWritable; }
    const TranslatorModel& GetModel() const { return m_model; }

    // Image access. Offsets are image offsets; nothing is ever read or written
    // outside the image: a byte outside reads as 0xFF (erased memory), a write
    // outside is dropped, and a copy of a block not wholly inside fails.
    int GetImageSize() const { return static_cast<int>(m_image.size()); }
    bool Contains(int offset, int length) const;
    void SetByte(int offset, uint8_t value);
    uint8_t GetByte(int offset) const;
    void SetUInt16(int offset, uint16_t value);
    int16_t GetInt16(int offset) const;
    uint16_t GetUInt16(int offset) const;
    // False (and nothing copied) unless offset..offset+length lies in the image.
    bool CopyFromImage(uint8_t* buffer, int offset, int length) const;
    bool CopyToImage(const uint8_t* buffer, int offset, int length);
    // The whole image, read-only.
    const std::vector<uint8_t>& GetImage() const { return m_image; }

protected:
    // Allocates the image in the model's size, all 0xFF.
    explicit InstrumentTranslator(const TranslatorModel& model);
    // The row of a model code that must exist (the subclasses' own codes).
    static const TranslatorModel& ModelOf(int code);

private:
    const TranslatorModel& m_model;
    std::vector<uint8_t> m_image;
};

// A new translator for a model code, or nullptr for an unknown code (and for
// a model whose translator is not part of the program). groupSameNumber goes
// to the models that group records by number (Kx340, Kx420).
std::unique_ptr<InstrumentTranslator> CreateTranslatorForModel(int code, int groupSameNumber);
