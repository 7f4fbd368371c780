// Small readers of the kernel's text files under /proc and /sys, shared by
// the facts that come from them. Nothing here speaks to the X server.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace quorvel::linux_os {

// sysfs attributes are a page at most.
constexpr std::uintmax_t kMaxAttributeSize = 4096;

// The whole of a regular file no larger than `limit` bytes; false otherwise
// (missing, a directory where a file belongs, unreadable, too large).
bool ReadRegularFile(const std::filesystem::path& path, std::uintmax_t limit, std::string& out);

// The first line of a small attribute file without its blanks at either
// end; false when the file cannot be read.
bool ReadAttribute(const std::filesystem::path& path, std::string& out);

// "0x10de\n": a PCI ID of one to four hex digits after "0x".
bool ReadPciId(const std::filesystem::path& path, unsigned& id);

// A decimal number followed by a line end at most ("17163091968\n").
bool ReadDecimal(const std::filesystem::path& path, std::uint64_t& value);

// The last part of the path a symbolic link points at ("amdgpu" for a
// link to ../../bus/pci/drivers/amdgpu); empty when `link` is no link.
std::string LinkTargetName(const std::filesystem::path& link);

// A space, tab, CR or LF: the blanks cut from the ends of the kernel's
// values and of names in its files.
bool IsBlank(char c);

// `text` without its blanks at either end.
std::string TrimBlanks(const std::string& text);

// True when `text` holds a byte below 0x20 or DEL: such a name is damaged
// and must not reach a line of the report.
bool HoldsControlCharacter(const std::string& text);

// The value of a hex digit; false for anything else.
bool HexDigitValue(char c, unsigned& value);

}  // namespace quorvel::linux_os
