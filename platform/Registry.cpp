#include "platform/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QStandardPaths>

namespace {
QMutex dirMutex;
QString& DirectoryOverride()
{
    static QString dir;
    return dir;
}

const QString ProgramKey = QStringLiteral("Software\\Quillfen2");
const QString IntegerPrefix = QStringLiteral("dword:");
const QString StringPrefix = QStringLiteral("sz:");

QString RootName(RootKey root)
{
    switch (root) {
    case RootKey::CurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
    case RootKey::LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RootKey::ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    }
    return QStringLiteral("HKEY_CURRENT_USER");
}

QString Normalise(QString path)
{
    path.replace(u'/', u'\\');
    while (path.startsWith(u'\\'))
        path.remove(0, 1);
    while (path.endsWith(u'\\'))
        path.chop(1);
    return path;
}

bool UnderProgramKey(RootKey root, const QString& path)
{
    return root == RootKey::CurrentUser
           && (path.compare(ProgramKey, Qt::CaseInsensitive) == 0
               || path.startsWith(ProgramKey + u'\\', Qt::CaseInsensitive));
}

// The registry's unnamed default value has no INI spelling; .reg files call it @.
QString ValueKey(const QString& name) { return name.isEmpty() ? QStringLiteral("@") : name; }
} // namespace

void SetRegistryDirectory(const QString& dir)
{
    QMutexLocker lock(&dirMutex);
    DirectoryOverride() = dir;
}

QString RegistryDirectory()
{
    QMutexLocker lock(&dirMutex);
    if (!DirectoryOverride().isEmpty())
        return DirectoryOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

TRegistry::TRegistry(RootKey root) : m_root(root) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(RootKey root)
{
    CloseKey();
    m_root = root;
}

QSettings& TRegistry::Settings()
{
    const QString dir = RegistryDirectory();
    const QString file = UnderProgramKey(m_root, m_path)
                             ? dir + QStringLiteral("/Quillfen2.ini")
                             : dir + QStringLiteral("/Quillfen2/") + RootName(m_root) + QStringLiteral(".ini");
    if (!m_settings || m_settings->fileName() != file) {
        if (m_settings)
            m_settings->sync();
        QDir().mkpath(QFileInfo(file).absolutePath());
        m_settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    }
    return *m_settings;
}

QString TRegistry::Group() const
{
    QString rel = m_path;
    if (UnderProgramKey(m_root, m_path))
        rel = m_path.mid(ProgramKey.size());
    rel = Normalise(rel);
    rel.replace(u'\\', u'/');
    return rel;
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    QString path = key.startsWith(u'\\') || !m_open ? Normalise(key)
                                                    : Normalise(m_path + u'\\' + key);
    const QString previous = m_path;
    const bool wasOpen = m_open;
    m_path = path;
    m_open = true;
    if (!canCreate) {
        // An existing key has values, subkeys, or is the program's own key.
        QSettings& s = Settings();
        s.beginGroup(Group());
        const bool exists = !s.childKeys().isEmpty() || !s.childGroups().isEmpty()
                            || s.contains(QStringLiteral("@@key"));
        s.endGroup();
        if (!exists) {
            m_path = previous;
            m_open = wasOpen;
            return false;
        }
    } else {
        QSettings& s = Settings();
        s.beginGroup(Group());
        if (s.childKeys().isEmpty() && s.childGroups().isEmpty() && !Group().isEmpty())
            s.setValue(QStringLiteral("@@key"), 1); // keeps an empty key in existence
        s.endGroup();
        s.sync();
    }
    return true;
}

bool TRegistry::KeyExists(const QString& key)
{
    TRegistry probe(m_root);
    const QString path = key.startsWith(u'\\') || !m_open ? key : m_path + u'\\' + key;
    return probe.OpenKey(u'\\' + Normalise(path), false);
}

bool TRegistry::DeleteKey(const QString& key)
{
    const QString saved = m_path;
    const bool wasOpen = m_open;
    const QString path = key.startsWith(u'\\') || !m_open ? Normalise(key) : Normalise(m_path + u'\\' + key);
    m_path = path;
    m_open = true;
    QSettings& s = Settings();
    const QString group = Group();
    bool existed = false;
    if (group.isEmpty()) {
        existed = !s.allKeys().isEmpty();
        s.clear();
    } else {
        s.beginGroup(group);
        existed = !s.allKeys().isEmpty();
        s.endGroup();
        s.remove(group);
    }
    s.sync();
    m_path = saved;
    m_open = wasOpen;
    return existed;
}

void TRegistry::CloseKey()
{
    if (m_settings)
        m_settings->sync();
    m_open = false;
    m_path.clear();
}

bool TRegistry::ValueExists(const QString& name)
{
    if (!m_open)
        return false;
    QSettings& s = Settings();
    s.beginGroup(Group());
    const bool exists = s.contains(ValueKey(name));
    s.endGroup();
    return exists;
}

bool TRegistry::DeleteValue(const QString& name)
{
    if (!ValueExists(name))
        return false;
    QSettings& s = Settings();
    s.beginGroup(Group());
    s.remove(ValueKey(name));
    s.endGroup();
    s.sync();
    return true;
}

QStringList TRegistry::GetValueNames()
{
    QStringList names;
    if (!m_open)
        return names;
    QSettings& s = Settings();
    s.beginGroup(Group());
    for (const QString& key : s.childKeys()) {
        if (key == QStringLiteral("@@key"))
            continue;
        names << (key == QStringLiteral("@") ? QString() : key);
    }
    s.endGroup();
    return names;
}

int TRegistry::ReadInteger(const QString& name)
{
    if (!ValueExists(name))
        throw ERegistryException("Invalid data type for '" + name.toStdString() + "'");
    QSettings& s = Settings();
    s.beginGroup(Group());
    const QString raw = s.value(ValueKey(name)).toString();
    s.endGroup();
    bool ok = false;
    const int value = raw.startsWith(IntegerPrefix)
                          ? static_cast<int>(raw.mid(IntegerPrefix.size()).toUInt(&ok, 16))
                          : 0;
    if (!ok)
        throw ERegistryException("Invalid data type for '" + name.toStdString() + "'");
    return value;
}

bool TRegistry::ReadBool(const QString& name) { return ReadInteger(name) != 0; }

QString TRegistry::ReadString(const QString& name)
{
    if (!ValueExists(name))
        return QString("");
    QSettings& s = Settings();
    s.beginGroup(Group());
    const QString raw = s.value(ValueKey(name)).toString();
    s.endGroup();
    if (raw.startsWith(IntegerPrefix))
        throw ERegistryException("Invalid data type for '" + name.toStdString() + "'");
    return raw.startsWith(StringPrefix) ? raw.mid(StringPrefix.size()) : raw;
}

void TRegistry::WriteInteger(const QString& name, int value)
{
    if (!m_open)
        throw ERegistryException("Failed to set data for '" + name.toStdString() + "'");
    QSettings& s = Settings();
    s.beginGroup(Group());
    s.setValue(ValueKey(name),
               IntegerPrefix + QStringLiteral("%1").arg(static_cast<uint>(value), 8, 16, QLatin1Char('0')));
    s.endGroup();
    s.sync();
}

void TRegistry::WriteBool(const QString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteString(const QString& name, const QString& value)
{
    if (!m_open)
        throw ERegistryException("Failed to set data for '" + name.toStdString() + "'");
    QSettings& s = Settings();
    s.beginGroup(Group());
    // A text that looks like a tagged value keeps its own tag.
    const bool tagged = value.startsWith(IntegerPrefix) || value.startsWith(StringPrefix);
    s.setValue(ValueKey(name), tagged ? StringPrefix + value : value);
    s.endGroup();
    s.sync();
}
