#include "app/ConfigPath.h"

#include "base/Text.h"

bool BuildConfigPath(std::string_view directory, std::span<char> out)
{
    if (out.empty()) return false;
    out[0] = '\0';
    if (directory.ends_with('\\')) directory.remove_suffix(1);
    // An empty directory would name the root of the current drive, a different file.
    if (directory.empty()) return false;
    const std::size_t needed = directory.size() + 1 + kConfigFileName.size();
    if (needed >= out.size()) return false;
    std::size_t at = CopyText(out, directory);
    out[at++] = '\\';
    CopyText(out.subspan(at), kConfigFileName);
    return true;
}
