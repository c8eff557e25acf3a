#pragma once
// What identifies a file as it was used: its size, modification time and SHA-256 digest.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace frusta {

struct FileFacts {
    std::uintmax_t size = 0;
    std::string modified; // UTC, ISO 8601 ("2026-12-08T16:56:13Z")
    std::string sha256;   // 64 lower-case hexadecimal digits
};

// The facts of a file; nothing when it cannot be read. Without `digest` the SHA-256 is
// left empty and the file is not read.
std::optional<FileFacts> fileFacts(const std::filesystem::path& path, bool digest = true);

// The SHA-256 digest of the file's bytes in lower-case hexadecimal; nothing when it cannot
// be read.
std::optional<std::string> fileSha256(const std::filesystem::path& path);
std::string sha256Hex(std::string_view bytes);

// A time as UTC ISO 8601 to the second: "2026-12-08T16:56:13Z".
std::string utcIsoTime(std::int64_t secondsSinceEpoch);

} // namespace frusta
