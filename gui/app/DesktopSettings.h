#pragma once
// The desktop program's settings: the recent-file list and the chosen reference database,
// kept in FRUSTA2/FRUSTA.conf of the user's configuration folder. What an earlier run left
// there is checked when it is read: entries that no longer lead to a workbook or a database
// are dropped without a word, and a file that is empty, cut short or not text at all gives
// what can be read of it.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace frusta::gui {

class DesktopSettings {
public:
    // The recent files that still lead to a workbook, most recent first, at most four.
    static std::vector<std::string> recentFiles();
    static void storeRecentFiles(const std::vector<std::string>& entries);

    // The chosen reference database while it is still a database; a choice that is not is
    // forgotten.
    static std::optional<std::filesystem::path> referenceDatabase();
    static void storeReferenceDatabase(const std::filesystem::path& file);

    // The chosen taxon translation table while the file is there; one that is gone is
    // forgotten.
    static std::optional<std::filesystem::path> translationTable();
    static void storeTranslationTable(const std::filesystem::path& file);

    // The smallest scored share in percent (0 to 100); the default when none is kept or the
    // kept one is not such a number.
    static double minScoredShare();
    static void storeMinScoredShare(double percent);

    // The settings file.
    static std::string fileName();
    // Why the settings cannot be kept ("permission denied" and so on), or empty when they
    // can be written.
    static std::string unwritableReason();
};

} // namespace frusta::gui
