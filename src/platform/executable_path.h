// The full path of the running program, from which the settings file beside
// it is found ("D:\Tools\Shifrodel.exe" gives "D:\Tools\Shifrodel.ini").
#ifndef SHIFRODEL_PLATFORM_EXECUTABLE_PATH_H_
#define SHIFRODEL_PLATFORM_EXECUTABLE_PATH_H_

#include <optional>
#include <string>

namespace shifrodel {

// Windows-1251, in the platform's form; nullopt when the system does not
// tell it or it has characters that Windows-1251 cannot represent.
std::optional<std::string> ExecutablePath();

}  // namespace shifrodel

#endif  // SHIFRODEL_PLATFORM_EXECUTABLE_PATH_H_
