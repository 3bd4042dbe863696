#include "instruments/InstrumentTranslator.h"

#include <cstring>
#include <stdexcept>

const TranslatorModel* FindTranslatorModel(int code)
{
    for (const TranslatorModel& model : TranslatorModels)
        if (model.Code == code)
            return &model;
    return nullptr;
}

const TranslatorModel& InstrumentTranslator::ModelOf(int code)
{
    const TranslatorModel* model = FindTranslatorModel(code);
    if (!model)
        throw std::logic_error("translator for a model code without a row");
    return *model;
}

InstrumentTranslator::InstrumentTranslator(const TranslatorModel& model)
    : m_model(model), m_image(static_cast<std::size_t>(model.ImageSize), 0xFF)
{
}

InstrumentTranslator::~InstrumentTranslator() = default;

int InstrumentTranslator::GetDataStart() const { return m_model.DataStart; }
int InstrumentTranslator::GetDataLength() const { return m_model.DataLength; }
int InstrumentTranslator::GetSetupStart() const { return m_model.SetupStart; }
int InstrumentTranslator::GetSetupLength() const { return m_model.SetupLength; }
int InstrumentTranslator::GetDatabaseStart() const { return m_model.DatabaseStart; }
int InstrumentTranslator::GetDatabaseLength() const { return m_model.DatabaseLength; }
QByteArray InstrumentTranslator::GetModelName() const { return QByteArray(m_model.Name); }
bool InstrumentTranslator::UsesNumberedBlocks() const { return m_model.NumberedBlocks; }
int InstrumentTranslator::GetBlockSize() const { return m_model.BlockSize; }
int InstrumentTranslator::GetModelConstant() const { return m_model.ModelConstant; }

void InstrumentTranslator::GetDefaultSetup(InstrumentSetup&) {}
void InstrumentTranslator::EncodeSetup(const InstrumentSetup&) {}
void InstrumentTranslator::DecodeSetup(InstrumentSetup&) {}
void InstrumentTranslator::EncodeDatabase(InstrumentDatabase&) {}

bool InstrumentTranslator::Contains(int offset, int length) const
{
    // 64-bit sums so that no offset/length pair can wrap around.
    return offset >= 0 && length >= 0
           && static_cast<int64_t>(offset) + length <= static_cast<int64_t>(m_image.size());
}

void InstrumentTranslator::SetByte(int offset, uint8_t value)
{
    if (Contains(offset, 1))
        m_image[static_cast<std::size_t>(offset)] = value;
}

uint8_t InstrumentTranslator::GetByte(int offset) const
{
    return Contains(offset, 1) ? m_image[static_cast<std::size_t>(offset)] : uint8_t{0xFF};
}

void InstrumentTranslator::SetUInt16(int offset, uint16_t value)
{
    if (!Contains(offset, 2))
        return;
    m_image[static_cast<std::size_t>(offset)] = static_cast<uint8_t>(value & 0xFF);
    m_image[static_cast<std::size_t>(offset) + 1] = static_cast<uint8_t>(value >> 8);
}

uint16_t InstrumentTranslator::GetUInt16(int offset) const
{
    return static_cast<uint16_t>(GetByte(offset) | (GetByte(offset + 1) << 8));
}

int16_t InstrumentTranslator::GetInt16(int offset) const
{
    return static_cast<int16_t>(GetUInt16(offset));
}

bool InstrumentTranslator::CopyFromImage(uint8_t* buffer, int offset, int length) const
{
    if (!buffer || !Contains(offset, length))
        return false;
    if (length > 0)
        std::memcpy(buffer, m_image.data() + offset, static_cast<std::size_t>(length));
    return true;
}

bool InstrumentTranslator::CopyToImage(const uint8_t* buffer, int offset, int length)
{
    if (!buffer || !Contains(offset, length))
        return false;
    if (length > 0)
        std::memcpy(m_image.data() + offset, buffer, static_cast<std::size_t>(length));
    return true;
}
