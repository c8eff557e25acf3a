#pragma once
// Read access to the parts of a zip package, with the size and compression-ratio limits of
// XlsxLimits.h enforced on every byte read.
#include "workbook/LoadProgress.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct zip;
struct zip_file;

namespace frusta::xlsx {

class ZipPackage;

// One part opened for streaming.
class ZipEntryReader {
public:
    ZipEntryReader(ZipPackage& package, zip_file* file, std::string name, std::uint64_t size);
    ~ZipEntryReader();
    ZipEntryReader(const ZipEntryReader&) = delete;
    ZipEntryReader& operator=(const ZipEntryReader&) = delete;

    // Reads up to `capacity` bytes; the count read, 0 at the end, -1 on failure with `error`.
    long read(char* buffer, std::size_t capacity, std::string& error);
    const std::string& name() const { return name_; }
    // The uncompressed size that the package states.
    std::uint64_t size() const { return declaredSize_; }

private:
    ZipPackage& package_;
    zip_file* file_;
    std::string name_;
    std::uint64_t declaredSize_;
    std::uint64_t read_ = 0;
};

class ZipPackage {
public:
    ZipPackage();
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    bool open(const std::string& path, std::string& error);

    // True when the package holds the part. Part names match as package part names do:
    // without regard to ASCII case, with or without the leading slash, percent-escapes
    // decoded, and backslashes taken as slashes (some writers store them).
    bool contains(std::string_view partName) const { return find(partName) >= 0; }
    std::unique_ptr<ZipEntryReader> openPart(std::string_view partName, std::string& error);
    // The names of all parts, normalised.
    std::vector<std::string> partNames() const;
    // Reports the bytes read against the XML parts' size to `progress`, and stops reading
    // when it is cancelled.
    void followProgress(LoadProgress* progress);

private:
    friend class ZipEntryReader;
    struct ArchiveCloser {
        void operator()(zip* archive) const;
    };

    std::int64_t find(std::string_view partName) const;
    // Counts bytes read from any part against the package limit.
    bool chargeRead(std::uint64_t bytes) {
        totalRead_ += bytes;
        if (progress_)
            progress_->report(totalRead_, xmlBytes_);
        return totalRead_ <= totalLimit_;
    }

    std::unique_ptr<zip, ArchiveCloser> archive_;
    std::unordered_map<std::string, std::int64_t> names_;
    std::uint64_t totalRead_ = 0;
    std::uint64_t totalLimit_;
    LoadProgress* progress_ = nullptr;
    std::uint64_t xmlBytes_ = 0;
};

// The normalised form under which parts are looked up.
std::string normalizePartName(std::string_view name);

} // namespace frusta::xlsx
