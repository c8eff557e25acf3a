#include "workbook/FileFacts.h"

#include "workbook/FileDescriptor.h"

#include <nettle/sha2.h>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace frusta {

namespace {

std::string hexOf(const uint8_t* bytes, std::size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(n * 2);
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::string digestOf(sha256_ctx& ctx) {
    uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&ctx, sizeof digest, digest);
    return hexOf(digest, sizeof digest);
}

} // namespace

std::string sha256Hex(std::string_view bytes) {
    sha256_ctx ctx;
    sha256_init(&ctx);
    sha256_update(&ctx, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
    return digestOf(ctx);
}

std::optional<std::string> fileSha256(const std::filesystem::path& path) {
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return std::nullopt;
    sha256_ctx ctx;
    sha256_init(&ctx);
    uint8_t buffer[1 << 16];
    while (true) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        sha256_update(&ctx, static_cast<std::size_t>(n), buffer);
    }
    return digestOf(ctx);
}

std::optional<FileFacts> fileFacts(const std::filesystem::path& path, bool digest) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    FileFacts facts{static_cast<std::uintmax_t>(st.st_size), utcIsoTime(st.st_mtime), {}};
    if (!digest)
        return facts;
    auto sha = fileSha256(path);
    if (!sha)
        return std::nullopt;
    facts.sha256 = std::move(*sha);
    return facts;
}

std::string utcIsoTime(std::int64_t secondsSinceEpoch) {
    const std::time_t t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

} // namespace frusta
