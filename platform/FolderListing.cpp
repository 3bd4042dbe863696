#include "platform/FolderListing.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using StatBuffer = struct stat;

// An entry with the key it is ordered by: QDir orders by the lower-case name
// compared character by character. Names equal that way (two files on a
// system that tells letter case apart) follow each other in an order of
// QDir's choosing; here the exact name decides, so a listing is repeatable.
struct Named
{
    QString name;
    QString lower;
    qint64 modified = 0;
};

void SortByName(std::vector<Named>& entries)
{
    std::sort(entries.begin(), entries.end(), [](const Named& a, const Named& b) {
        const int order = a.lower.compare(b.lower);
        return order != 0 ? order < 0 : a.name < b.name;
    });
}

// Closes what opendir() opened, however the listing ends.
struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};
} // namespace

FolderListing ListFolder(const QString& folder, const QString& extension, bool withSubfolders)
{
    FolderListing listing;
    const int fd = open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return listing;
    const std::unique_ptr<DIR, DirCloser> dir(fdopendir(fd));
    StatBuffer folderStat{};
    if (!dir) {
        close(fd);
        return listing;
    }
    if (fstat(fd, &folderStat) != 0)
        return listing;
    listing.listed = true;
    listing.device = folderStat.st_dev;
    listing.inode = folderStat.st_ino;

    std::vector<Named> subfolders;
    std::vector<Named> files;
    while (const dirent* entry = readdir(dir.get())) {
        const char* raw = entry->d_name;
        if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
            continue;
        // Pipes, sockets and devices are never listed; a link, or an entry
        // whose kind the system does not say, is known only when followed.
        const unsigned char kind = entry->d_type;
        if (kind != DT_DIR && kind != DT_REG && kind != DT_LNK && kind != DT_UNKNOWN)
            continue;
        const QString name = QFile::decodeName(raw);
        if (kind == DT_DIR) {
            if (withSubfolders)
                subfolders.push_back({name, name.toLower()});
            continue;
        }
        const bool wantedFile = name.endsWith(extension, Qt::CaseInsensitive);
        const bool mayBeFolder = withSubfolders && kind != DT_REG;
        if (!wantedFile && !mayBeFolder)
            continue;
        // One look gives both what a link points to and a file's time.
        StatBuffer st{};
        if (fstatat(fd, raw, &st, 0) != 0)
            continue; // a broken link, or gone since the folder was read
        if (S_ISDIR(st.st_mode) && mayBeFolder)
            subfolders.push_back({name, name.toLower()});
        else if (S_ISREG(st.st_mode) && wantedFile)
            files.push_back({name, name.toLower(), static_cast<qint64>(st.st_mtim.tv_sec)});
    }
    SortByName(subfolders);
    SortByName(files);

    QString prefix = QDir(folder).path();
    if (!prefix.endsWith(u'/'))
        prefix += u'/';
    listing.subfolders.reserve(subfolders.size());
    for (const Named& sub : subfolders)
        listing.subfolders.push_back(prefix + sub.name);
    listing.files.reserve(files.size());
    for (const Named& file : files)
        listing.files.push_back({prefix + file.name, file.modified});
    return listing;
}
