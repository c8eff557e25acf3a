#include "workbook/xlsx/ZipPackage.h"

#include "workbook/LoadProgress.h"

#include "workbook/xlsx/HexDigit.h"
#include "workbook/xlsx/XlsxLimits.h"

#include <zip.h>

namespace frusta::xlsx {

namespace {

std::string megabytes(std::uint64_t bytes) {
    return std::to_string(bytes / kMiB) + " MB";
}

std::string describeOpenError(int code) {
    switch (code) {
    case ZIP_ER_NOZIP:
        return "the file is not a zip package (it may be truncated or damaged)";
    case ZIP_ER_INCONS:
        return "the zip package is damaged (its directory is inconsistent)";
    case ZIP_ER_MEMORY:
        return "not enough memory to open the zip package";
    case ZIP_ER_MULTIDISK:
        return "multi-volume zip packages are not supported";
    default: {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        std::string text = "can't open the zip package: ";
        text += zip_error_strerror(&error);
        zip_error_fini(&error);
        return text;
    }
    }
}

std::string describeEntryError(zip_error_t* error, const std::string& part) {
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
    case ZIP_ER_ENCRNOTSUPP:
        return "the workbook is encrypted (part '" + part + "')";
    case ZIP_ER_COMPNOTSUPP:
        return "the part '" + part + "' uses an unsupported compression method";
    case ZIP_ER_CRC:
        return "the part '" + part + "' is damaged (checksum error)";
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA:
        return "the part '" + part + "' is damaged (bad compressed data)";
    case ZIP_ER_EOF:
    case ZIP_ER_INCONS:
        return "the part '" + part + "' is damaged (truncated)";
    default:
        return "the part '" + part +
               "' can't be read (it may be damaged: " + zip_error_strerror(error) + ")";
    }
}

} // namespace

std::string normalizePartName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        char ch = name[i];
        if (ch == '%' && i + 2 < name.size()) {
            const int hi = hexDigit(name[i + 1]);
            const int lo = hexDigit(name[i + 2]);
            if (hi >= 0 && lo >= 0) {
                ch = static_cast<char>(hi * 16 + lo);
                i += 2;
            }
        }
        if (ch == '\\')
            ch = '/';
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        out += ch;
    }
    const auto start = out.find_first_not_of('/');
    return start == std::string::npos ? std::string() : out.substr(start);
}

// ---- ZipEntryReader ----

ZipEntryReader::ZipEntryReader(ZipPackage& package, zip_file* file, std::string name,
                               std::uint64_t size)
    : package_(package), file_(file), name_(std::move(name)), declaredSize_(size) {}

ZipEntryReader::~ZipEntryReader() {
    zip_fclose(file_);
}

long ZipEntryReader::read(char* buffer, std::size_t capacity, std::string& error) {
    const zip_int64_t n = zip_fread(file_, buffer, capacity);
    if (n < 0) {
        error = describeEntryError(zip_file_get_error(file_), name_);
        return -1;
    }
    read_ += static_cast<std::uint64_t>(n);
    // The stored size was checked against the limits when the part was opened; data
    // beyond it means the directory lies.
    if (read_ > declaredSize_) {
        error = "the part '" + name_ + "' is damaged (longer than its stated size)";
        return -1;
    }
    if (!package_.chargeRead(static_cast<std::uint64_t>(n))) {
        error = "the workbook holds more than " + megabytes(kMaxPackageBytes) +
                " of uncompressed data, more than this program reads";
        return -1;
    }
    if (package_.progress_ && package_.progress_->cancelled()) {
        error = kLoadCancelled;
        return -1;
    }
    return static_cast<long>(n);
}

// ---- ZipPackage ----

void ZipPackage::ArchiveCloser::operator()(zip* archive) const {
    zip_discard(archive);
}

ZipPackage::ZipPackage() : totalLimit_(kMaxPackageBytes) {}
ZipPackage::~ZipPackage() = default;

bool ZipPackage::open(const std::string& path, std::string& error) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive) {
        error = describeOpenError(code);
        return false;
    }
    archive_.reset(archive);
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count < 0 || count > kMaxEntries) {
        error = "the zip package holds too many files (" + std::to_string(count) + ")";
        return false;
    }
    names_.reserve(static_cast<std::size_t>(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (name)
            names_.emplace(normalizePartName(name), i); // the first of duplicates wins
    }
    return true;
}

void ZipPackage::followProgress(LoadProgress* progress) {
    progress_ = progress;
    xmlBytes_ = 0;
    if (!progress_)
        return;
    // The XML parts are what the reader reads: their stated sizes make the whole.
    for (const auto& [name, index] : names_) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (name.ends_with(".xml") &&
            zip_stat_index(archive_.get(), static_cast<zip_uint64_t>(index), 0, &st) == 0 &&
            (st.valid & ZIP_STAT_SIZE))
            xmlBytes_ += std::min<std::uint64_t>(st.size, kMaxPartBytes);
    }
}

std::int64_t ZipPackage::find(std::string_view partName) const {
    const auto it = names_.find(normalizePartName(partName));
    return it == names_.end() ? -1 : it->second;
}

std::vector<std::string> ZipPackage::partNames() const {
    std::vector<std::string> names;
    names.reserve(names_.size());
    for (const auto& [name, index] : names_)
        names.push_back(name);
    return names;
}

std::unique_ptr<ZipEntryReader> ZipPackage::openPart(std::string_view partName,
                                                     std::string& error) {
    const std::string name(partName);
    const std::int64_t index = find(partName);
    if (index < 0) {
        error = "the part '" + name + "' is missing";
        return nullptr;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive_.get(), static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
        !(st.valid & ZIP_STAT_SIZE) || !(st.valid & ZIP_STAT_COMP_SIZE)) {
        error = "the part '" + name + "' is damaged (no size recorded)";
        return nullptr;
    }
    if (st.size > kMaxPartBytes) {
        error = "the part '" + name + "' is too large (" + megabytes(st.size) +
                " uncompressed; the limit is " + megabytes(kMaxPartBytes) + ")";
        return nullptr;
    }
    if (st.size > kRatioCheckBytes && st.size / (st.comp_size ? st.comp_size : 1) > kMaxRatio) {
        error = "the part '" + name + "' expands more than " + std::to_string(kMaxRatio) +
                " times its compressed size, which no workbook does (a zip bomb?)";
        return nullptr;
    }
    zip_file_t* file = zip_fopen_index(archive_.get(), static_cast<zip_uint64_t>(index), 0);
    if (!file) {
        error = describeEntryError(zip_get_error(archive_.get()), name);
        return nullptr;
    }
    return std::make_unique<ZipEntryReader>(*this, file, name, st.size);
}

} // namespace frusta::xlsx
