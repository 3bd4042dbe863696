#include "RevdCReader.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

enum { HeaderSize = 64, HeaderWords = 16, SectionSlots = 7 };

static uint32_t Word(const unsigned char* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static int IsForm(const char* name)
{
    size_t n = strlen(name);
    return n >= 4 && strcasecmp(name + n - 4, ".qfs") == 0;
}

static void ReadForm(const char* path, struct RevdCReaderTotals* totals)
{
    unsigned char header[HeaderSize];
    struct stat st;
    int fd = open(path, O_RDONLY);
    if (fd < 0)
        return;
    ++totals->files;
    if (fstat(fd, &st) == 0 && read(fd, header, HeaderSize) == HeaderSize
        && memcmp(header, "QFS4", 4) == 0 && memcmp(header + 4, "form", 4) == 0) {
        uint32_t start = 0, end = (uint32_t)st.st_size;
        int k;
        for (k = 0; k < SectionSlots; ++k)
            if (memcmp(header + 8 + 8 * k, "revd", 4) == 0)
                start = Word(header + 12 + 8 * k);
        for (k = 0; k < SectionSlots; ++k) {
            uint32_t offset = Word(header + 12 + 8 * k);
            if (Word(header + 8 + 8 * k) != 0 && offset > start && offset < end)
                end = offset;
        }
        totals->bytes += HeaderSize;
        if (start >= HeaderSize && start < end) {
            char* section = malloc(end - start);
            ssize_t got = section ? pread(fd, section, end - start, start) : -1;
            if (got > 0) {
                totals->bytes += got;
                ++totals->forms;
            }
            free(section);
        }
    }
    close(fd);
}

void RevdCReadTree(const char* root, struct RevdCReaderTotals* totals)
{
    char path[4096];
    struct dirent* entry;
    DIR* dir = opendir(root);
    if (!dir)
        return;
    /* Subfolders first, as the scan walks. */
    while ((entry = readdir(dir)) != NULL) {
        if (entry->d_type == DT_DIR && strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) {
            snprintf(path, sizeof path, "%s/%s", root, entry->d_name);
            RevdCReadTree(path, totals);
        }
    }
    rewinddir(dir);
    while ((entry = readdir(dir)) != NULL) {
        if (entry->d_type != DT_DIR && IsForm(entry->d_name)) {
            snprintf(path, sizeof path, "%s/%s", root, entry->d_name);
            ReadForm(path, totals);
        }
    }
    closedir(dir);
}
