#pragma once
// An instrument's settings, model-independent: groups of numeric settings
// with limits and choices among named options.

#include <QString>

#include <memory>
#include <vector>

class InstrumentSetupAbstract
{
public:
    enum Kind { KindGroup = 0, KindNumber = 1, KindChoice = 2 };

    virtual ~InstrumentSetupAbstract() = default;
    // The row text of the settings list (styled text with ESC style words).
    virtual QString GetText() const = 0;
    virtual int GetKind() const = 0;
};

class InstrumentSetupItem : public InstrumentSetupAbstract
{
public:
    int GetId() const { return m_id; }
    // The setting's name in the current language.
    QString GetName() const;

protected:
    explicit InstrumentSetupItem(int id) : m_id(id) {}

private:
    int m_id;
};

class InstrumentSetupItemNumber final : public InstrumentSetupItem
{
public:
    InstrumentSetupItemNumber(int id, float value, QString unit, float minimum, float maximum,
                              bool zeroAllowed);

    float GetValue() const { return m_value; }
    const QString& GetUnit() const { return m_unit; }
    // Stores the value when there are no limits (minimum == maximum), when it
    // is 0 and zero is allowed, or when it lies within the limits; returns
    // whether it was stored.
    bool SetValue(float value);

    // name TAB value ("0.###") space unit
    QString GetText() const override;
    int GetKind() const override { return KindNumber; }

private:
    QString m_unit;
    float m_value;
    float m_minimum;
    float m_maximum;
    bool m_zeroAllowed;
};

class InstrumentSetupItemChoice final : public InstrumentSetupItem
{
public:
    // optionListId: a language string holding the options separated by ";".
    InstrumentSetupItemChoice(int id, int optionListId, int selected);

    int GetSelected() const { return m_selected; }
    // A negative index selects the first option.
    void SetSelected(int index);
    int GetOptionCount() const;
    // The option text; an index past the last gives the last, a negative
    // index the first.
    QString GetOption(int index) const;

    // name TAB selected option
    QString GetText() const override;
    int GetKind() const override { return KindChoice; }

private:
    int m_optionListId;
    int m_selected;
};

class InstrumentSetupBank final : public InstrumentSetupAbstract
{
public:
    explicit InstrumentSetupBank(int groupId) : m_id(groupId) {}
    InstrumentSetupBank(const InstrumentSetupBank&) = delete;
    InstrumentSetupBank& operator=(const InstrumentSetupBank&) = delete;
    ~InstrumentSetupBank() override;

    int GetId() const { return m_id; }
    // The group's name in the current language.
    QString GetName() const;
    // Takes ownership and returns the item; a null item is ignored.
    InstrumentSetupItem* AddItem(std::unique_ptr<InstrumentSetupItem> item);
    int GetCount() const { return static_cast<int>(m_items.size()); }
    // nullptr for an index outside the list.
    InstrumentSetupItem* GetItem(int index) const;
    // The last item with that id, nullptr when none.
    InstrumentSetupItem* FindItem(int id) const;
    // Destroys the items, last first.
    void Clear();

    QString GetText() const override { return GetName(); }
    int GetKind() const override { return KindGroup; }

private:
    int m_id;
    std::vector<std::unique_ptr<InstrumentSetupItem>> m_items;
};

class InstrumentSetup
{
public:
    InstrumentSetup() = default;
    InstrumentSetup(const InstrumentSetup&) = delete;
    InstrumentSetup& operator=(const InstrumentSetup&) = delete;
    ~InstrumentSetup();

    // Takes ownership and returns the group; a null group is ignored.
    InstrumentSetupBank* AddBank(std::unique_ptr<InstrumentSetupBank> bank);
    int GetCount() const { return static_cast<int>(m_banks.size()); }
    // nullptr for an index outside the list.
    InstrumentSetupBank* GetBank(int index) const;
    // The last group with that id, nullptr when none.
    InstrumentSetupBank* FindBank(int groupId) const;
    // Destroys all groups, last first.
    void Clear();

private:
    std::vector<std::unique_ptr<InstrumentSetupBank>> m_banks;
};
