// The install log reader on arbitrary bytes: every path it hands to the
// uninstaller must lie inside the installation folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArrayView>
#include <QDir>

#include "installer/InstallLog.h"
#include "installer/InstallPaths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = QStringLiteral("/home/user/.local/share/Quillfen2");
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& path : ReadInstallLog(bytes, folder)) {
        if (!IsInsideFolder(folder, path) || QDir::cleanPath(path) != path
            || !path.startsWith(folder + u'/'))
            std::abort();
    }
    return 0;
}
