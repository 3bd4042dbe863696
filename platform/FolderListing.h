#pragma once
// One folder's entries as a folder walk needs them: its subfolders and the
// files with one extension, each with its modification time, in name order
// without regard to letter case. Listing a folder this way asks the system
// once per file (for its time and kind), where QDir and a later look at each
// file ask twice or more; a walk over thousands of unchanged files is mostly
// this asking.
//
// What is listed is what QDir lists with QDir::Hidden, QDir::Name |
// QDir::IgnoreCase and a "*<ext>" name filter: hidden entries too, links by
// what they point to, special files (pipes, sockets, devices) and broken
// links left out. Paths are made as QDir makes them.

#include <QString>

#include <cstdint>
#include <vector>

struct FolderListing
{
    struct File
    {
        QString path;
        qint64 modified = 0; // seconds since 1970-01-01 UTC, whole seconds
    };

    bool listed = false; // false: not a folder that can be read
    uint64_t device = 0; // with inode: the same folder however it is reached
    uint64_t inode = 0;
    std::vector<QString> subfolders; // their paths
    std::vector<File> files;         // files whose names end in the extension
};

// Any thread. `extension` is matched without regard to letter case
// (".qfs"); subfolders are listed only when `withSubfolders` is set.
FolderListing ListFolder(const QString& folder, const QString& extension, bool withSubfolders);
