#include "platform/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QStandardPaths>
#include <QtEndian>

#include <cstring>

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
const QString BinaryPrefix = QStringLiteral("hex:");
// A value every created key holds, so that an empty key still exists.
const QString KeyMarker = QStringLiteral("@@key");

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

ERegistryException InvalidDataType(const QString& name)
{
    return ERegistryException("Invalid data type for '" + name.toStdString() + "'");
}

// A key's group of its INI file, entered for as long as the scope lives.
class GroupScope
{
public:
    GroupScope(QSettings& settings, const QString& group) : m_settings(settings) { settings.beginGroup(group); }
    ~GroupScope() { m_settings.endGroup(); }
    GroupScope(const GroupScope&) = delete;
    GroupScope& operator=(const GroupScope&) = delete;
    QSettings* operator->() const { return &m_settings; }

private:
    QSettings& m_settings;
};
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

QString TRegistry::ResolvedPath(const QString& key) const
{
    return key.startsWith(u'\\') || !m_open ? Normalise(key) : Normalise(m_path + u'\\' + key);
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    const QString previous = m_path;
    const bool wasOpen = m_open;
    m_path = ResolvedPath(key);
    m_open = true;
    const GroupScope group(Settings(), Group());
    const bool hasContent = !group->childKeys().isEmpty() || !group->childGroups().isEmpty();
    if (canCreate) {
        if (!hasContent && !Group().isEmpty())
            group->setValue(KeyMarker, 1);
        group->sync();
        return true;
    }
    // An existing key has values, subkeys, or is the program's own key.
    if (hasContent || group->contains(KeyMarker))
        return true;
    m_path = previous;
    m_open = wasOpen;
    return false;
}

bool TRegistry::KeyExists(const QString& key)
{
    TRegistry probe(m_root);
    return probe.OpenKey(u'\\' + ResolvedPath(key), false);
}

bool TRegistry::DeleteKey(const QString& key)
{
    const QString saved = m_path;
    const bool wasOpen = m_open;
    m_path = ResolvedPath(key);
    m_open = true;
    QSettings& s = Settings();
    const QString group = Group();
    bool existed = false;
    if (group.isEmpty()) {
        existed = !s.allKeys().isEmpty();
        s.clear();
    } else {
        existed = !GroupScope(s, group)->allKeys().isEmpty();
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
    return m_open && GroupScope(Settings(), Group())->contains(ValueKey(name));
}

bool TRegistry::DeleteValue(const QString& name)
{
    if (!ValueExists(name))
        return false;
    const GroupScope group(Settings(), Group());
    group->remove(ValueKey(name));
    group->sync();
    return true;
}

QStringList TRegistry::GetValueNames()
{
    QStringList names;
    if (!m_open)
        return names;
    const GroupScope group(Settings(), Group());
    for (const QString& key : group->childKeys()) {
        if (key == KeyMarker)
            continue;
        names << (key == QStringLiteral("@") ? QString() : key);
    }
    return names;
}

QString TRegistry::RawValue(const QString& name)
{
    return GroupScope(Settings(), Group())->value(ValueKey(name)).toString();
}

void TRegistry::StoreValue(const QString& name, const QString& raw)
{
    if (!m_open)
        throw ERegistryException("Failed to set data for '" + name.toStdString() + "'");
    const GroupScope group(Settings(), Group());
    group->setValue(ValueKey(name), raw);
    group->sync();
    if (group->status() == QSettings::AccessError)
        throw ERegistryException("Failed to write data for '" + name.toStdString() + "'");
}

int TRegistry::ReadInteger(const QString& name)
{
    if (!ValueExists(name))
        throw InvalidDataType(name);
    const QString raw = RawValue(name);
    bool ok = false;
    const int value = raw.startsWith(IntegerPrefix)
                          ? static_cast<int>(raw.mid(IntegerPrefix.size()).toUInt(&ok, 16))
                          : 0;
    if (!ok)
        throw InvalidDataType(name);
    return value;
}

bool TRegistry::ReadBool(const QString& name) { return ReadInteger(name) != 0; }

QString TRegistry::ReadString(const QString& name)
{
    if (!ValueExists(name))
        return QString("");
    const QString raw = RawValue(name);
    if (raw.startsWith(IntegerPrefix) || raw.startsWith(BinaryPrefix))
        throw InvalidDataType(name);
    return raw.startsWith(StringPrefix) ? raw.mid(StringPrefix.size()) : raw;
}

void TRegistry::WriteInteger(const QString& name, int value)
{
    StoreValue(name, IntegerPrefix + QStringLiteral("%1").arg(static_cast<uint>(value), 8, 16, QLatin1Char('0')));
}

void TRegistry::WriteBool(const QString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteString(const QString& name, const QString& value)
{
    // A text that looks like a tagged value keeps its own tag.
    const bool tagged = value.startsWith(IntegerPrefix) || value.startsWith(StringPrefix)
                        || value.startsWith(BinaryPrefix);
    StoreValue(name, tagged ? StringPrefix + value : value);
}

double TRegistry::ReadFloat(const QString& name)
{
    if (!ValueExists(name))
        throw InvalidDataType(name);
    const QString raw = RawValue(name);
    const QByteArray bytes = QByteArray::fromHex(raw.mid(BinaryPrefix.size()).toLatin1());
    double value = 0;
    if (!raw.startsWith(BinaryPrefix) || bytes.size() != static_cast<qsizetype>(sizeof value))
        throw InvalidDataType(name);
    // Little-endian, as the registry holds the double's bytes.
    quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void TRegistry::WriteFloat(const QString& name, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray bytes(sizeof bits, '\0');
    qToLittleEndian(bits, bytes.data());
    StoreValue(name, BinaryPrefix + QString::fromLatin1(bytes.toHex()));
}
