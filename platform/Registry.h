#pragma once
// The registry calls of the program over INI files in the user's config dir
// (XDG_CONFIG_HOME honoured). HKEY_CURRENT_USER "Software\Quillfen2" is the
// file Quillfen2.ini; other keys live in one INI file per root key.

#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

class QSettings;

class ERegistryException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum class RootKey { CurrentUser, LocalMachine, ClassesRoot };

// Overrides the directory of the INI files (tests); empty restores the default.
void SetRegistryDirectory(const QString& dir);
QString RegistryDirectory();

class TRegistry
{
public:
    explicit TRegistry(RootKey root = RootKey::CurrentUser);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    RootKey GetRootKey() const { return m_root; }
    void SetRootKey(RootKey root);

    // Key paths use backslashes, e.g. "Software\\Quillfen2". A leading
    // backslash is absolute; otherwise relative to the open key.
    bool OpenKey(const QString& key, bool canCreate);
    bool KeyExists(const QString& key);
    bool DeleteKey(const QString& key);
    void CloseKey();
    QString CurrentPath() const { return m_path; }

    bool ValueExists(const QString& name);
    bool DeleteValue(const QString& name);
    QStringList GetValueNames();

    // Missing values and values of another type throw ERegistryException.
    int ReadInteger(const QString& name);
    bool ReadBool(const QString& name);
    // A missing value reads as an empty text; a value of another type throws.
    QString ReadString(const QString& name);
    // Writes throw ERegistryException when no key is open or the INI file
    // cannot be written.
    void WriteInteger(const QString& name, int value);
    void WriteBool(const QString& name, bool value);
    void WriteString(const QString& name, const QString& value);
    // A double stored as an 8-byte binary value, as the class library keeps
    // floating-point settings. A missing value, another type or a binary
    // value of another size throws.
    double ReadFloat(const QString& name);
    void WriteFloat(const QString& name, double value);

private:
    QSettings& Settings();
    QString Group() const;
    // The path of `key`: absolute with a leading backslash, else below the open key.
    QString ResolvedPath(const QString& key) const;
    // The INI text of a value of the open key.
    QString RawValue(const QString& name);
    // Throws when no key is open.
    void StoreValue(const QString& name, const QString& raw);

    RootKey m_root;
    QString m_path; // open key, without leading backslash; empty when closed
    bool m_open = false;
    std::unique_ptr<QSettings> m_settings;
};
