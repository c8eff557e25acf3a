#include "cli/ResultsTargets.h"

#include "output/CsvFileSet.h"

#include <map>
#include <ostream>

namespace frusta::cli {

namespace fs = std::filesystem;

namespace {

const char* extensionOf(ResultsFormat f) {
    switch (f) {
    case ResultsFormat::Xls:
        return ".xls";
    case ResultsFormat::Csv:
        return ".csv";
    case ResultsFormat::Json:
        return ".json";
    case ResultsFormat::Xlsx:
        break;
    }
    return ".xlsx";
}

// The -o path; for csv without its ".csv", so that "r.csv" gives r-samples.csv and so on.
ResultsTarget namedTarget(const std::string& output, ResultsFormat f) {
    ResultsTarget t;
    t.format = f;
    t.toStdout = output == "-";
    t.path = output;
    if (f == ResultsFormat::Csv && t.path.extension() == ".csv")
        t.path.replace_extension();
    return t;
}

ResultsTarget dirTarget(const fs::path& dir, const std::string& workbook, ResultsFormat f) {
    ResultsTarget t;
    t.format = f;
    std::string name = fs::path(workbook).stem().string() + "-results";
    if (f != ResultsFormat::Csv)
        name += extensionOf(f);
    t.path = dir / name;
    return t;
}

// One spelling per file: absolute, with dot and dot-dot and symbolic links resolved as far
// as the path exists.
std::string normalised(const fs::path& p) {
    std::error_code ec;
    fs::path n = fs::weakly_canonical(fs::absolute(p, ec), ec);
    return ec ? fs::absolute(p).lexically_normal().string() : n.string();
}

} // namespace

std::vector<fs::path> ResultsTarget::files() const {
    if (toStdout)
        return {};
    if (format != ResultsFormat::Csv)
        return {path};
    std::vector<fs::path> csv;
    for (const CsvFile& file : kCsvFiles)
        csv.push_back(csvFilePath(path, file.part));
    return csv;
}

std::vector<std::optional<ResultsTarget>> planTargets(const AssessOptions& o) {
    const ResultsFormat f = resultsFormat(o);
    std::vector<std::optional<ResultsTarget>> targets;
    for (const std::string& workbook : o.workbooks) {
        if (o.outDir)
            targets.push_back(dirTarget(*o.outDir, workbook, f));
        else if (o.choices.output)
            targets.push_back(namedTarget(*o.choices.output, f));
        else
            targets.push_back(std::nullopt);
    }
    return targets;
}

bool checkTargets(const std::vector<std::string>& workbooks,
                  const std::vector<std::optional<ResultsTarget>>& targets, std::ostream& err) {
    std::map<std::string, std::size_t> inputs;
    for (std::size_t i = 0; i < workbooks.size(); ++i)
        inputs.emplace(normalised(workbooks[i]), i);
    std::map<std::string, std::size_t> written;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (!targets[i])
            continue;
        for (const fs::path& file : targets[i]->files()) {
            const std::string key = normalised(file);
            if (auto in = inputs.find(key); in != inputs.end()) {
                err << "frusta2-cli assess: the results of " << workbooks[i] << " would overwrite "
                    << "the workbook " << workbooks[in->second] << "; nothing was written\n";
                return false;
            }
            auto [it, fresh] = written.emplace(key, i);
            if (!fresh && it->second != i) {
                err << "frusta2-cli assess: " << workbooks[it->second] << " and " << workbooks[i]
                    << " would both write " << file.string()
                    << "; rename one of them; nothing was written\n";
                return false;
            }
        }
    }
    return true;
}

} // namespace frusta::cli
