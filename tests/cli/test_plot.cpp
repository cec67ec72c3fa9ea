// SPDX-License-Identifier: MIT
// tervalon-solve --plot: the pictures it writes (SVG read by Python's XML parser, PNG by its header),
// their names, their stability from run to run, and the options it refuses.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const std::string kFolder = std::string(TEST_TMP_DIR) + "/plots";

int run(const std::string& arguments)
{
    const int status =
        std::system((std::string(TERVALON_SOLVE) + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Width and height from a PNG's IHDR chunk; 0 x 0 for anything else.
std::pair<int, int> pngSize(const std::string& bytes)
{
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    const auto word = [&](std::size_t at) {
        int value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = value * 256 + static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    return {word(16), word(20)};
}

class Plots : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove_all(kFolder);
        std::filesystem::create_directories(kFolder);
    }
};

TEST_F(Plots, svgParsesAsXmlOfTheAskedSize)
{
    const std::string file = kFolder + "/graph.svg";
    // tan(x)=x ends at the line limit, an error message: status 1.
    ASSERT_EQ(run("--plot " + file + " --plot-size 640x400 'x^2-5*x+6=0' 'tan(x)=x' 'a*x=1'"), 1);
    for (const std::string name : {"graph.svg", "graph-2.svg", "graph-3.svg"}) {
        // The parser must read the whole file; the root is an svg element of the asked size.
        const std::string check =
            "python3 -c \"import sys, xml.etree.ElementTree as E; r = E.parse(sys.argv[1]).getroot(); "
            "sys.exit(0 if r.tag.endswith('svg') and r.get('viewBox') == '0 0 640 400' else 1)\" " +
            kFolder + "/" + name;
        EXPECT_EQ(std::system(check.c_str()), 0) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(kFolder + "/graph-4.svg"));
    // The curves are lines in their colours; the equation with letters has none, only its message.
    const std::string curves = bytesOf(kFolder + "/graph.svg");
    EXPECT_NE(curves.find("stroke=\"#1f5fbf\""), std::string::npos);
    EXPECT_NE(curves.find("stroke=\"#d35400\""), std::string::npos);
    const std::string letters = bytesOf(kFolder + "/graph-3.svg");
    EXPECT_EQ(letters.find("stroke=\"#1f5fbf\""), std::string::npos);
    EXPECT_NE(letters.find("The graph needs values for the letters."), std::string::npos);
}

TEST_F(Plots, svgOfTheGoldenSetIsStable)
{
    const std::string equations = "'x=10*sin(x-1)' 'x^7=1' 'sqr(x)=2-x' 'log(x)=1' 'x=1/0'";
    // The derivation of sqr(x)=2-x ends in x = 4, which the check rejects: status 3.
    ASSERT_EQ(run("--plot " + kFolder + "/first.svg " + equations), 3);
    ASSERT_EQ(run("--plot " + kFolder + "/second.svg " + equations), 3);
    for (const std::string suffix : {"", "-2", "-3", "-4", "-5"}) {
        const std::string first = bytesOf(kFolder + "/first" + suffix + ".svg");
        ASSERT_FALSE(first.empty()) << suffix;
        EXPECT_EQ(first, bytesOf(kFolder + "/second" + suffix + ".svg")) << suffix;
    }
}

TEST_F(Plots, pngHasTheAskedSize)
{
    ASSERT_EQ(run("--plot " + kFolder + "/graph.PNG 'x=2'"), 0);
    EXPECT_EQ(pngSize(bytesOf(kFolder + "/graph.PNG")), std::make_pair(800, 500));
    ASSERT_EQ(run("--plot-size 1280x800 --plot " + kFolder + "/wide.png 'x=2'"), 0);
    EXPECT_EQ(pngSize(bytesOf(kFolder + "/wide.png")), std::make_pair(1280, 800));
}

TEST_F(Plots, unwritableFileIsAFileError)
{
    EXPECT_EQ(run("--plot " + kFolder + "/no/such/folder/graph.png 'x=2'"), 2);
}

TEST(PlotOptions, refusedAndNamed)
{
    struct Row {
        const char* arguments;
        bool isAccepted;
    };
    const Row rows[] = {
        {"--plot g.svg", true},
        {"--plot g.png --plot-size 100x8000", true},
        {"--plot g.txt", false},
        {"--plot", false},
        {"--plot g.png --plot-size 99x500", false},
        {"--plot g.png --plot-size 800x", false},
        {"--plot g.png --plot-size 800*500", false},
        {"--plot g.png --raw", false},
    };
    for (const Row& row : rows) {
        std::vector<std::string> words = {"tervalon-solve"};
        std::string text = row.arguments;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = std::min(text.find(' ', start), text.size());
            words.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        std::vector<const char*> argv;
        for (const std::string& word : words)
            argv.push_back(word.c_str());
        cli::CliOptions options;
        std::string error;
        EXPECT_EQ(cli::parseArguments(static_cast<int>(argv.size()), argv.data(), options, error),
                  row.isAccepted)
            << row.arguments;
        EXPECT_EQ(options.solve.graph, row.isAccepted) << row.arguments;
    }
    EXPECT_EQ(cli::plotFileName("out/g.svg", 0), "out/g.svg");
    EXPECT_EQ(cli::plotFileName("out/g.svg", 1), "out/g-2.svg");
    EXPECT_EQ(cli::plotFileName("g.PNG", 11), "g-12.PNG");
}

} // namespace
