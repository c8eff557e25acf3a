// Damaged and hostile database files must be refused or read, never crash the program.
#include "RefdbTestSupport.h"
#include "refdb/CADODatabase.h"
#include "refdb/CADORecordset.h"
#include "refdb/DataProvider.h"
#include "refdb/MdbReader.h"
#include "refdb/dbTableLoad.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

using namespace frusta;
using frusta::test::testData;

namespace {

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Opens the file with the provider and reads every listed table; returns how many tables
// could be read.
int readEverything(const char* provider, const std::filesystem::path& file,
                   const std::vector<std::string>& tables) {
    CADODatabase db;
    if (!db.Open(test::connection(provider, file)))
        return 0;
    int read = 0;
    for (const auto& t : tables) {
        CADORecordset rs(db);
        if (!rs.Open(t, CADORecordset::openTable)) {
            EXPECT_FALSE(rs.GetLastErrorString().empty());
            continue;
        }
        const auto table = loadDbTable(rs);
        read += table->rowCount >= 0;
    }
    return read;
}

const std::vector<std::string> kReferenceTables = {"NBSMasterTaxonList_PhaseII", "Boundaries",
                                                   "CoC"};

struct Damage {
    const char* file;
    const char* provider;
    std::vector<std::string> tables;
};

class DamagedAccessFiles : public ::testing::TestWithParam<Damage> {};

} // namespace

TEST_P(DamagedAccessFiles, AreRefusedOrReadWithoutCrashing) {
    const Damage& d = GetParam();
    const std::string original = readAll(testData(d.file));
    ASSERT_FALSE(original.empty());
    ASSERT_EQ(readEverything(d.provider, testData(d.file), d.tables),
              static_cast<int>(d.tables.size()));
    test::ScratchDir dir;
    const auto file = dir / "damaged.mdb";
    std::mt19937 random(20240611);
    const std::size_t pageSize = original[0x14] == 0 ? 2048 : 4096;
    const std::size_t pages = original.size() / pageSize;
    int opened = 0;
    // Enough rounds for the Jet 3 file to meet damage that sends libmdb into an endless loop
    // (round 65); such a round lasts until the reading reaches its memory limit.
    for (int round = 0; round < 66; ++round) {
        std::string bytes = original;
        if (round % 10 == 9) {
            bytes.resize(pageSize * (1 + random() % pages) - random() % 64);
        } else {
            // Most of the structure lives in the first pages: the header, the catalogue and
            // the table definitions.
            const std::size_t span =
                round % 2 ? bytes.size() : std::min(bytes.size(), 16 * pageSize);
            const int n = 1 + static_cast<int>(random() % 24);
            for (int i = 0; i < n; ++i) {
                const std::size_t at = 0x20 + random() % (span - 0x20);
                bytes[at] = static_cast<char>(random() % 4 == 0 ? 0xFF : random());
            }
        }
        test::writeFile(file, bytes);
        opened += readEverything(d.provider, file, d.tables) > 0;
    }
    EXPECT_GT(opened, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedAccessFiles,
    ::testing::Values(
        Damage{"refdb/reference.mdb", kJetProvider, kReferenceTables},
        Damage{"refdb/reference.accdb", kAceProvider, kReferenceTables},
        Damage{"access/jet3_types.mdb", kJetProvider, {"Table1", "Table2", "Table3", "Table4"}}));

namespace {

// jet3_types.mdb with one byte of a property block changed: libmdb then reads the catalogue
// without end, allocating as it goes.
std::filesystem::path writeLoopingFile(const test::ScratchDir& dir) {
    std::string bytes = readAll(testData("access/jet3_types.mdb"));
    EXPECT_EQ(bytes.at(0x1825E), 0x6C);
    bytes[0x1825E] = static_cast<char>(0x95);
    const auto file = dir / "looping.mdb";
    test::writeFile(file, bytes);
    return file;
}

} // namespace

TEST(DamagedFiles, ACatalogueThatMakesLibmdbLoopIsRefused) {
    test::ScratchDir dir;
    const auto file = writeLoopingFile(dir);
    CADODatabase db;
    EXPECT_FALSE(db.Open(test::connection(kJetProvider, file)));
    EXPECT_EQ(db.GetLastErrorCode(), 0x80004005u);
    // Which limit stops the reading first, memory or time, depends on the machine's speed.
    const std::string prefix =
        "Unrecognized database format '" + file.string() + "'. The file is damaged: reading it ";
    const std::string description = db.GetLastErrorDescription();
    EXPECT_TRUE(description == prefix + "needed more memory than allowed." ||
                description == prefix + "did not finish.")
        << description;
}

TEST(DamagedFiles, AReadingThatLoopsIsStoppedAtItsMemoryLimit) {
    test::ScratchDir dir;
    const auto file = writeLoopingFile(dir);
    IsolationLimits limits;
    limits.memory = std::size_t{96} << 20;
    limits.deadline = std::chrono::minutes(3);
    try {
        MdbReader reader(file, limits);
        FAIL() << "the looping catalogue was read";
    } catch (const MdbReadError& e) {
        EXPECT_STREQ(e.what(), "reading it needed more memory than allowed");
    }
}

TEST(DamagedFiles, LyingHeadersAndDamagedSqliteFiles) {
    test::ScratchDir dir;
    std::string jet = readAll(testData("refdb/reference.mdb"));
    // An Access header on nothing else, and an ACE signature with a Jet 4 body.
    test::writeFile(dir / "header-only.mdb", jet.substr(0, 0x100));
    jet[0x14] = 3;
    jet.replace(4, 15, "Standard ACE DB");
    test::writeFile(dir / "relabelled.mdb", jet);
    test::writeFile(dir / "empty.mdb", "");
    test::writeFile(dir / "fake.sqlite",
                    std::string("SQLite format 3\0garbage", 23) + std::string(4096, '\x5A'));
    for (const char* name : {"header-only.mdb", "relabelled.mdb", "empty.mdb", "fake.sqlite"})
        for (const char* provider : {kJetProvider, kAceProvider, kSqliteProvider})
            readEverything(provider, dir / name, kReferenceTables);
    CADODatabase db;
    EXPECT_FALSE(db.Open(test::connection(kSqliteProvider, dir / "fake.sqlite")));
    EXPECT_NE(db.GetLastErrorDescription().find("cannot be read as an SQLite database"),
              std::string::npos)
        << db.GetLastErrorDescription();

    test::buildFixtureSqlite(dir / "good.sqlite");
    const std::string original = readAll(dir / "good.sqlite");
    std::mt19937 random(7);
    for (int round = 0; round < 100; ++round) {
        std::string bytes = original;
        for (int i = 0; i < 16; ++i)
            bytes[100 + random() % (bytes.size() - 100)] = static_cast<char>(random());
        test::writeFile(dir / "damaged.sqlite", bytes);
        readEverything(kSqliteProvider, dir / "damaged.sqlite", kReferenceTables);
    }
}
