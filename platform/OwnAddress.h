#pragma once

#include <string>

namespace korvane {

// The address this copy announces: the host name's IPv4 address; when that cannot be
// resolved or is a loopback address (Debian maps the host name to 127.0.1.1), the first up,
// non-loopback interface's; else "127.0.0.1". Dotted decimal, at most 15 characters.
std::string ResolveOwnAddress();

}  // namespace korvane
