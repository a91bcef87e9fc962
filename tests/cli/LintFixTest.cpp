// SPDX-License-Identifier: MIT
// Every fix lint gives, run as given by the real quillon-cli on the file of each made-up header
// of the lint rules' tests, makes its finding go away.
#include "LintCases.h"
#include "ProcessRunner.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

using namespace quillon;
using namespace quillon::test;

namespace {

using Json = nlohmann::json;

class LintFixTest : public ::testing::Test {
protected:
    TempDir m_folder; // the ROM, and the program's working folder
    TempDir m_streams;

    int run(const std::vector<std::string>& arguments) {
        return runProgram(QUILLON_CLI, arguments, m_streams.file("out"), m_streams.file("err"),
                          utf8Path(m_folder.path()));
    }

    // The findings as (id, offset), and each one's JSON.
    Json findings(const std::string& name) {
        run({"lint", "--json", name});
        std::ifstream in(pathFromUtf8(m_streams.file("out")));
        std::stringstream text;
        text << in.rdbuf();
        return Json::parse(text.str(), nullptr, false).value("findings", Json::array());
    }
};

} // namespace

TEST_F(LintFixTest, EachFixMakesItsFindingGo) {
    const std::string name = "case.bin";
    std::size_t fixes = 0;
    for (const LintCase& test : lintCases) {
        // The other layouts' findings carry no fix, and their files are made elsewhere.
        if (test.layout != &PlainLayout || test.notRom)
            continue;
        const Bytes rom = lintCaseRom(test);
        writeBytes(m_folder.file(name), rom);
        for (const Json& finding : findings(name)) {
            if (finding["fix"].is_null())
                continue;
            const auto arguments = finding["fix"].get<std::vector<std::string>>();
            writeBytes(m_folder.file(name), rom);
            EXPECT_EQ(run(arguments), 0) << test.what << ": " << finding["fix"].dump();
            for (const Json& after : findings(name))
                EXPECT_FALSE(after["id"] == finding["id"] && after["offset"] == finding["offset"])
                    << test.what << ": " << finding["fix"].dump() << " left " << after.dump();
            ++fixes;
        }
    }
    EXPECT_GT(fixes, 0U);
}
