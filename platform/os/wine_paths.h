// Windows paths of programs run under Wine and the Linux paths they stand
// for. A drive letter x: is the link dosdevices/x: in the Wine prefix; the
// components below it are matched ignoring ASCII case, as Windows does,
// because Jw_cad writes and upper-cases names that differ in case from the
// files on disk. Paths are UTF-8; the prefix has its trailing '/'.
#pragma once

#include <string>

// The name of the entry of `folder` equal to `name` ignoring ASCII case (the
// exact name when it exists); empty when there is none.
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name);

// A relative Windows path ("a\\b.txt") below a Linux folder, each component
// matched ignoring case; "." and ".." never leave the folder. A component
// without a match is kept as written.
std::string ResolveIgnoringCase(const std::string& folder, const std::string& relativeWindowsPath);

// "X:\a\b.jww" as a Linux path below the drive's real folder; "." and
// ".." are resolved within the drive.
// A component without a match is kept as written (the result then names no
// file). Empty when the path has no drive letter or the drive is not mapped.
std::string WindowsToUnixPath(const std::string& prefix, const std::string& windowsPath);

// A Linux path as Wine sees it: through the drive whose folder is the
// longest leading part of the path. Empty when no drive holds it.
std::string UnixToWindowsPath(const std::string& prefix, const std::string& unixPath);

// The folder part of a Windows path, up to and including its last '\' or
// '/'; empty when it has none.
std::string WindowsFolderOf(const std::string& windowsPath);
