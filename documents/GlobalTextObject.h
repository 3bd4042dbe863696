#pragma once
// Global texts: up to 1000 numbered texts of a document, and the text field
// that shows (and edits) the text of its number, so a value typed once shows
// on every page that uses it.

#include "documents/TextObject.h"

#include <QString>

#include <vector>

// The document's store of global texts, owned by the document.
class GlobalTextStorage : public PropertiesAbstract
{
public:
    static constexpr int32_t Count = 1000;

    GlobalTextStorage();

    // Empties every slot, then reads the texts the record lists.
    bool Load(QIODevice& stream) override;
    void Save(QIODevice& stream) const override;
    void WriteXml(QIODevice& out) const override;

    // Reads a record over the texts held: slots the record does not list keep
    // their text (appending another document's pages).
    bool LoadOver(QIODevice& stream);
    // A copy of the text (up to a NUL); a null text empties the slot. A GID
    // outside 0..999 is ignored.
    void SetText(int32_t gid, const QString& text);
    // The slot's text; null when it is empty or the GID is out of range.
    QString GetText(int32_t gid) const;
    void Clear();

private:
    std::vector<QString> m_texts; // a null text is an empty slot
};

class GlobalTextObject : public TextObject
{
public:
    // The storage is the document's; it must outlive the field.
    explicit GlobalTextObject(GlobalTextStorage* storage);
    // The text-field part and the GID, on the same storage.
    GlobalTextObject(const GlobalTextObject& other);

    bool Load(QIODevice& stream) override;
    void Save(QIODevice& stream) const override;
    void WriteXml(QIODevice& out) const override;
    ~GlobalTextObject() override;
    // The storage's text for the GID (null when the slot is empty).
    QString GetText() const override;
    QString GetDisplayText() const override;
    // Stores the text under the GID: every field with that GID shows it.
    void SetText(const QString& text) override;
    std::unique_ptr<AbstractFormObject> Clone() const override;
    int32_t GetTypeCode() const override;
    // Type stays 1 (editable) whatever is asked.
    void SetType(int32_t type) override;

    int32_t GetGID() const { return m_gid; }
    // GIDs outside 0..999 are ignored.
    void SetGID(int32_t gid);
    GlobalTextStorage* GetStorage() const { return m_storage; }

private:
    int32_t m_gid = 0;
    GlobalTextStorage* m_storage;
};
