// engine-probe from the outside: golden token files, and random chains against the model.
#include "CalcModel.h"
#include "ExactModel.h"
#include "DecimalCommaLocale.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace bansho;
using namespace bansho::testing;

namespace {

std::string RunProbe(const std::string& args, const std::string& input,
                     const std::string& env = "") {
    char path[] = "/tmp/engine-probe-inXXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return "mkstemp failed";
    const ssize_t written = write(fd, input.data(), input.size());
    close(fd);
    if (written != static_cast<ssize_t>(input.size())) return "write failed";
    const std::string cmd = env + " '" ENGINE_PROBE "' " + args + " < " + path;
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    std::remove(path);
    return out;
}

std::vector<std::string> Lines(const std::string& s) {
    std::vector<std::string> v;
    std::istringstream in(s);
    std::string line;
    while (std::getline(in, line))
        v.push_back(line);
    return v;
}

// Golden files: "@@ name [probe options]" starts a case; the lines up to ">>>" are the tokens,
// the lines after it the exact expected output. Lines starting with '#' before a case are
// comments.
struct GoldenCase {
    std::string file, name, args, input;
    std::vector<std::string> expected;
};

std::vector<GoldenCase> LoadGolden() {
    std::vector<GoldenCase> cases;
    for (const auto& entry : std::filesystem::directory_iterator(GOLDEN_DIR)) {
        if (entry.path().extension() != ".txt") continue;
        std::ifstream in(entry.path());
        std::string line;
        GoldenCase* cur = nullptr;
        bool inExpected = false;
        while (std::getline(in, line)) {
            if (line.rfind("@@ ", 0) == 0) {
                cases.push_back({});
                cur = &cases.back();
                cur->file = entry.path().filename().string();
                const std::string rest = line.substr(3);
                const std::size_t sp = rest.find(" --");
                cur->name = rest.substr(0, sp);
                if (sp != std::string::npos) cur->args = rest.substr(sp + 1);
                inExpected = false;
            } else if (!cur) {
                continue;
            } else if (!inExpected && line == ">>>") {
                inExpected = true;
            } else if (inExpected) {
                cur->expected.push_back(line);
            } else {
                cur->input += line + "\n";
            }
        }
    }
    return cases;
}

TEST(EngineProbe, GoldenFiles) {
    const auto cases = LoadGolden();
    ASSERT_GE(cases.size(), 20u);
    for (const auto& c : cases) {
        auto expected = c.expected;
        while (!expected.empty() && expected.back().empty())
            expected.pop_back();
        EXPECT_EQ(Lines(RunProbe(c.args, c.input)), expected) << c.file << ": " << c.name;
    }
}

TEST(EngineProbe, HistoryCopyEndsEachRowWithALineFeed) {
    const std::string row0 = std::string(19, ' ') + "＋1.";
    const std::string row1 = std::string(19, ' ') + "＋2.";
    EXPECT_EQ(RunProbe("", "1 17 2 17 3 17 copy:1 clip\n"), row0 + "\n" + row1 + "\n\n");
}

TEST(EngineProbe, UnknownTokensAndBadOptions) {
    EXPECT_EQ(RunProbe("", "5 nonsense ?\n"), "5.|5|||||||0|0\n");
    EXPECT_EQ(RunProbe("--acount", ""), "");
    EXPECT_EQ(RunProbe("--wrong 1", "?"), "");
}

// ---- Random chains against the model ----

struct Step {
    std::string number; // as typed (may end in '.')
    bool negate = false;
    char key = '+'; // the operator key after the number
};

std::string TypeTokens(const Step& s) {
    std::string t;
    for (const char c : s.number)
        t += (c == '.' ? std::string("16") : std::string(1, c)) + " ";
    if (s.negate) t += "23 ";
    static const std::string kKeys = "+-*/=%";
    t += std::to_string(17 + kKeys.find(s.key)) + " ? ";
    return t;
}

std::string RandomNumber(std::mt19937_64& rng) {
    const unsigned kind = rng() % 10;
    if (kind == 0) return "0";
    int digits = 1 + static_cast<int>(rng() % (kind < 3 ? 15 : 6));
    const int intDigits = static_cast<int>(rng() % (digits + 1));
    std::string n;
    if (intDigits == 0) {
        n = "0.";
        digits = std::min(digits, 14);
    } else {
        n += static_cast<char>('1' + rng() % 9);
        for (int i = 1; i < intDigits; ++i)
            n += static_cast<char>('0' + rng() % 10);
        // A point after the fifteenth digit would be refused, so it is not typed there.
        if (intDigits < digits || (intDigits < 15 && rng() % 8 == 0)) n += '.';
    }
    for (int i = intDigits; i < digits; ++i)
        n += static_cast<char>('0' + rng() % 10);
    return n;
}

void CheckChainsAgainstModel(int acount, unsigned seed, const std::string& env = "",
                             int decimals = -1, int rounding = 0, int chains = 4000) {
    std::mt19937_64 rng(seed);
    std::string input;
    std::vector<std::string> expected; // per '?': "E" for the error form, else DispNum's text
    for (int chain = 0; chain < chains; ++chain) {
        const int len = 2 + static_cast<int>(rng() % 6);
        ModelNum res;
        char pending = '=';
        for (int i = 0; i < len; ++i) {
            Step s;
            s.number = RandomNumber(rng);
            s.negate = rng() % 6 == 0;
            static const char kOps[] = {'+', '-', '*', '/'};
            if (i + 1 < len)
                s.key = kOps[rng() % 4];
            else
                s.key = rng() % 5 == 0 ? '%' : '=';
            input += TypeTokens(s);
            std::string typed = s.number;
            if (s.negate) typed = "-" + typed;
            ModelNum in{typed, false};
            if (pending == '=') {
                res = in; // the typed number starts the calculation
            } else if (decimals < 0) {
                ModelCalc(res, in, pending, s.key == '%' ? '%' : ' ', acount);
            } else {
                ModelSelected(res, in, pending, s.key == '%' ? '%' : ' ', acount, decimals,
                              rounding);
            }
            if ((s.key == '=' || s.key == '%') && !res.error) {
                ModelNum gt{"0", false};
                ModelCalc(gt, res, '+', ' ', acount); // normalises the shown result
            }
            expected.push_back(res.error ? "E" : res.text);
            pending = (s.key == '%') ? '=' : s.key;
        }
        input += "24\n";
    }
    const auto lines = Lines(RunProbe("--acount " + std::to_string(acount) + " --decimals " +
                                          std::to_string(decimals) + " --rounding " +
                                          std::to_string(rounding),
                                      input, env));
    ASSERT_EQ(lines.size(), expected.size());
    int mismatches = 0;
    for (std::size_t i = 0; i < lines.size() && mismatches < 10; ++i) {
        const std::string caption = lines[i].substr(0, lines[i].find('|'));
        const std::size_t a = lines[i].find('|') + 1;
        const std::string disp = lines[i].substr(a, lines[i].find('|', a) - a);
        if (expected[i] == "E") {
            if (caption != "- E -  ") ++mismatches;
            EXPECT_EQ(caption, "- E -  ") << "line " << i << ": " << lines[i];
        } else {
            if (disp != expected[i]) ++mismatches;
            EXPECT_EQ(disp, expected[i]) << "line " << i << ": " << lines[i];
        }
    }
}

TEST(EngineProbe, AgreesWithTheModelTruncating) {
    CheckChainsAgainstModel(0, 11);
}
TEST(EngineProbe, AgreesWithTheModelRounding) {
    CheckChainsAgainstModel(1, 12);
}

// Under a decimal selection every result of a chain step is the exact result rounded once:
// every selection, every rule, both modes.
TEST(EngineProbe, AgreesWithTheExactModelUnderTheDecimalSelector) {
    unsigned seed = 20;
    for (int acount : {0, 1})
        for (int decimals = 0; decimals <= 4; ++decimals)
            for (int rounding = 0; rounding <= 2; ++rounding) {
                SCOPED_TRACE(::testing::Message() << "acount " << acount << " decimals "
                                                  << decimals << " rounding " << rounding);
                CheckChainsAgainstModel(acount, seed++, "", decimals, rounding, 500);
            }
}

// The same with longer runs on the settings a shop uses most.
TEST(EngineProbe, AgreesWithTheExactModelOnLongRuns) {
    const struct {
        int acount, decimals, rounding;
    } settings[] = {{0, 0, 0}, {0, 2, 1}, {0, 4, 2}, {1, 1, 2}, {1, 3, 0}, {0, 0, 1}};
    unsigned seed = 60;
    for (const auto& s : settings) {
        SCOPED_TRACE(::testing::Message() << "acount " << s.acount << " decimals " << s.decimals
                                          << " rounding " << s.rounding);
        CheckChainsAgainstModel(s.acount, seed++, "", s.decimals, s.rounding);
    }
}

// The probe takes its locale from the environment, as the program does; a decimal comma
// there changes nothing.
TEST(EngineProbe, AgreesWithTheModelUnderADecimalCommaLocale) {
    const std::string env = PrepareDecimalCommaLocale();
    if (env.empty()) GTEST_SKIP() << "no de_DE locale and localedef failed";
    ASSERT_EQ(RunProbe("", "locale\n", env), ",\n");
    CheckChainsAgainstModel(0, 13, env);
    CheckChainsAgainstModel(1, 14, env);
}

} // namespace
