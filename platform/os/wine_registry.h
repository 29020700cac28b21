// Jw_cad's open command as Wine keeps it: the registry is stored as the text
// files user.reg and system.reg in the Wine prefix. Texts are UTF-8.
#pragma once

#include <string>

// The Wine prefix folder with a trailing '/': $WINEPREFIX, else ~/.wine;
// empty when neither can be named.
std::string WinePrefixFolder();

// The default value of `key` (compared ignoring ASCII case, written with
// doubled backslashes as in the file) from the text of a .reg file: the
// line "@=" followed by a quoted string, by str(2): and a quoted string, or
// by hex(1): and the string's UTF-16LE bytes (over continuation lines).
// False when the key or its default value is not there.
bool FindRegDefaultValue(const std::string& regText, const std::string& key, std::string& value);

// The contents of a quoted .reg string, starting after its opening quote:
// \\ \" \n \r \t, \xNNNN (UTF-16 units, up to four hex digits) and octal
// \NNN escapes undone, ended by the closing quote (or the end of the text).
std::string UnescapeRegString(const std::string& text, size_t start);

// The open command of JWW drawings: user.reg, then system.reg, of the prefix
// (with its trailing '/'); empty when neither holds it.
std::string ReadJwwOpenCommand(const std::string& prefix);

// The program part of a command line: the text inside the quotes when the
// command begins with one, else the text before the first blank.
std::string CommandProgramPath(const std::string& command);
