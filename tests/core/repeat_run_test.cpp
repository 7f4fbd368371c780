// --run with --repeat and --results-file: several whole sequences in one
// process, the median run's report on standard output, the figures of
// every run in a JSON document, and the exit status.
#include <gtest/gtest.h>

#include "app/benchmark_app.h"
#include "app/command_line.h"
#include "fake/fake_platform.h"
#include "platform/resource_ids.h"
#include "text/json_writer.h"

namespace quorvel {
namespace {

// Lends a test's fake platform to BenchmarkMain, which owns what its
// factory makes, so the test can look at it afterwards.
class LentPlatform : public platform::Platform {
 public:
  explicit LentPlatform(fake::FakePlatform& p) : p_(p) {}
  platform::Services& services() override { return p_.services(); }
  platform::Graphics& graphics() override { return p_.graphics(); }
  platform::DialogSystem& dialogs() override { return p_.dialogs(); }
  platform::Facts& facts() override { return p_.facts(); }
  platform::FileWriter& files() override { return p_.files(); }
  platform::ProfileStore& profile() override { return p_.profile(); }
  platform::HttpClient& http() override { return p_.http(); }

 private:
  fake::FakePlatform& p_;
};

class RepeatRunTest : public ::testing::Test {
 protected:
  RepeatRunTest() {
    platform.fakeServices.frequency = 1000000;
    // The opening slide, then the runs of --run.
    platform.dialogSystem.scripts[IDD_MAIN_DIALOG] = [](fake::FakeDialogHost& h) {
      h.Advance(1100);
    };
  }

  // Run k moves the counter `perMove[k % perMove.size()]` ticks a move, and
  // every move moves the millisecond tick `tickPerMove` on.
  int Main(std::vector<std::string> args, std::vector<std::int64_t> perMove,
           std::uint32_t tickPerMove = 0) {
    platform.onMove = [this, perMove, tickPerMove](fake::FakeDialogHost& w, int) {
      const std::size_t run = static_cast<std::size_t>(w.showing) / 4;
      platform.counterPerMove = perMove[run % perMove.size()];
      platform.fakeServices.tick += tickPerMove;
    };
    args.insert(args.begin(), "quorvel");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Backend backend;
    backend.create = [this](const platform::PlatformOptions&) {
      return std::unique_ptr<platform::Platform>(new LentPlatform(platform));
    };
    const int status = BenchmarkMain(static_cast<int>(argv.size()), argv.data(), backend);
    out = testing::internal::GetCapturedStdout();
    err = testing::internal::GetCapturedStderr();
    return status;
  }

  int TestWindows() {
    int n = 0;
    for (auto& run : platform.dialogSystem.runs) n += run->templateId == IDD_LAYERED_TEST;
    return n;
  }

  fake::FakePlatform platform;
  std::string out, err;
};

TEST_F(RepeatRunTest, PrintsTheReportOfTheMedianRun) {
  // 1000 ticks a move score 22.222 a test, 88 a run; 2000: 44; 500: 177;
  // 4000: 22.
  struct Case {
    std::vector<std::int64_t> perMove;
    const char* overall;
  } cases[] = {
      {{1000}, "Overall Benchmark Score : 88"},
      {{1000, 2000, 500}, "Overall Benchmark Score : 88"},
      {{1000, 2000, 500, 4000}, "Overall Benchmark Score : 44"},  // lower middle
  };
  for (const Case& c : cases) {
    platform.dialogSystem.runs.clear();
    const std::string n = std::to_string(c.perMove.size());
    EXPECT_EQ(Main({"--run", "--repeat", n}, c.perMove), 0) << err;
    EXPECT_EQ(TestWindows(), 4 * static_cast<int>(c.perMove.size()));
    // The report as a single run prints it: its 21 lines and one line end.
    EXPECT_EQ(out.rfind(c.overall), out.size() - std::string(c.overall).size() - 1) << out;
    EXPECT_EQ(out.find("Quorvel Results\n\n"), 0u);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 21) << out;
  }
}

TEST_F(RepeatRunTest, ResultsFileHoldsEveryRunAndTheSummary) {
  EXPECT_EQ(Main({"--run", "--repeat=2", "--results-file", "out.json"}, {1000, 2000}), 0);
  ASSERT_EQ(platform.fakeFiles.files.count("out.json"), 1u);
  const std::string& json = platform.fakeFiles.files["out.json"];
  for (const char* expected : {
           "\"program\": \"quorvel\"",
           "\"version\": \"" QUORVEL_VERSION "\"",
           "\"screenWidth\": 1024",
           "\"windowManager\": null",
           "\"label\": \"Black as transparent\"",
           "\"label\": \"100% visibility\"",
           "\"status\": \"scored\"",
           "\"scoreText\": \"22.222\"",
           "\"scoreText\": \"11.111\"",
           "\"steps\": 900",
           // 1000 ticks of a 1 MHz counter a move: every step takes 1 ms.
           "\"p50\": 1000,",
           "\"compositorFrames\": null",
           "\"layeredScore\": 88",
           "\"overallScore\": 44",
           "\"runs\": 2",
           // 88 and 44: mean 66, population deviation 22, cv 1/3.
           "\"mean\": 66,",
           "\"stddev\": 22,",
           "\"cv\": 0.3333333333",
           "\"stopReason\": \"fixed count\"",
           "\"outlier\": false",
           // Sample deviation 31.11, t(0.975, 1) 12.706: 66 +- 350.3.
           "\"low\": -284.3",
           "\"high\": 416.3",
           "\"relativeHalfWidth\": 5.30",
       }) {
    EXPECT_NE(json.find(expected), std::string::npos) << expected << "\n" << json;
  }
  EXPECT_EQ(json.back(), '\n');
}

// The value of each `"key": value` in the document, in order.
std::vector<std::string> ValuesOf(const std::string& json, const std::string& key) {
  std::vector<std::string> values;
  const std::string marker = "\"" + key + "\": ";
  for (std::size_t at = json.find(marker); at != std::string::npos; at = json.find(marker, at)) {
    at += marker.size();
    values.push_back(json.substr(at, json.find_first_of(",\n", at) - at));
  }
  return values;
}

// The runs' "outlier" marks as a picture, a run a character: 'x' marked, '.' not.
std::string OutlierMarks(const std::string& json) {
  std::string marks;
  for (const std::string& value : ValuesOf(json, "outlier")) marks += value == "true" ? 'x' : '.';
  return marks;
}

TEST_F(RepeatRunTest, AutoRepeatStopsForEachReason) {
  // Ticks a move and the overall score they give: 100: 888, 104: 854,
  // 200: 444.
  struct Case {
    const char* what;
    std::vector<std::int64_t> perMove;  // cycled over the runs
    std::uint32_t tickPerMove;
    const char* stopReason;
    const char* overall;   // the report's last line: the median run's
    const char* outliers;  // one mark a run
  } cases[] = {
      // No spread: MAD and the mean deviation are 0, nothing is marked.
      {"precise after three", {100}, 0, "\"precise\"", "888", "..."},
      // 888 854 888 ...: the interval's half-width falls from 6.9 % of the
      // median at three runs to 2.06 % at six and 1.7 % at seven. MAD is 0,
      // so the scale is 1.2533 x the mean deviation, 34 / 7: 854 lies beyond
      // three of it.
      {"precise after seven, MAD 0", {100, 104, 100, 100, 100, 100, 100}, 0, "\"precise\"",
       "888", ".x....."},
      // 888 444 ...: 2 % is never reached; MAD 222, nothing is marked.
      {"run cap", {100, 200}, 0, "\"run cap\"", "444", "...................."},
      // 147 s a run: 588 s after four runs, 735 s after five.
      {"time cap", {100, 200}, 40, "\"time cap\"", "888", "....."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform.dialogSystem.runs.clear();
    const std::vector<std::string> args = {"--run", "--repeat", "auto", "--results-file", "r.json"};
    EXPECT_EQ(Main(args, c.perMove, c.tickPerMove), 0) << err;
    const int runs = static_cast<int>(std::string(c.outliers).size());
    EXPECT_EQ(TestWindows(), 4 * runs);
    const std::string json = platform.fakeFiles.files["r.json"];
    EXPECT_EQ(ValuesOf(json, "runs").back(), std::to_string(runs));
    EXPECT_EQ(ValuesOf(json, "stopReason"), std::vector<std::string>{c.stopReason});
    EXPECT_EQ(OutlierMarks(json), c.outliers);
    EXPECT_EQ(ValuesOf(json, "relativeHalfWidth").size(), 1u) << json;
    const std::string last = std::string("Overall Benchmark Score : ") + c.overall + "\n";
    EXPECT_EQ(out.rfind(last), out.size() - last.size()) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 21) << out;
  }
}

TEST_F(RepeatRunTest, AutoRepeatMarksARunFarFromTheMedianAndKeepsIt) {
  // 888 880 897 (100, 101, 99 ticks a move), 740 (120) in the fourth run,
  // then 880 897 888 ... again: MAD 8, so three scaled MADs are 35.6 and
  // only 740 lies beyond them. It still counts, and keeps the interval
  // wider than 2 % up to the run cap.
  std::vector<std::int64_t> perMove = {100, 101, 99, 120, 101, 99};
  for (int run = 6; run < 20; ++run) perMove.push_back(perMove[run % 3]);
  EXPECT_EQ(Main({"--run", "--repeat", "auto", "--results-file", "r.json"}, perMove), 0) << err;
  const std::string& json = platform.fakeFiles.files["r.json"];
  EXPECT_EQ(OutlierMarks(json), "...x................");
  EXPECT_EQ(ValuesOf(json, "stopReason"), std::vector<std::string>{"\"run cap\""});
  EXPECT_EQ(ValuesOf(json, "min").back(), "740") << json;  // the summary's
  EXPECT_NE(out.find("Overall Benchmark Score : 888\n"), std::string::npos) << out;
}

TEST_F(RepeatRunTest, AutoRepeatEndsAtOnceWhenATestHasNoScore) {
  platform.layeredWorks = false;
  EXPECT_EQ(Main({"--run", "--repeat", "auto", "--results-file", "r.json"}, {1000}), 4);
  EXPECT_EQ(TestWindows(), 4);
  EXPECT_NE(err.find("4 of the 4 tests produced no score"), std::string::npos) << err;
  const std::string& json = platform.fakeFiles.files["r.json"];
  EXPECT_EQ(ValuesOf(json, "stopReason"), std::vector<std::string>{"\"not scored\""});
  EXPECT_EQ(ValuesOf(json, "medianInterval"), std::vector<std::string>{"null"});  // one run
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 21) << out;
}

TEST_F(RepeatRunTest, TestsWithoutAScoreInAnyRunGiveAFailingStatus) {
  platform.layeredWorks = false;
  EXPECT_EQ(Main({"--run", "--repeat", "2", "--results-file", "r.json"}, {1000}), 4);
  EXPECT_NE(err.find("run 2: 4 of the 4 tests produced no score"), std::string::npos) << err;
  const std::string& json = platform.fakeFiles.files["r.json"];
  EXPECT_NE(json.find("\"status\": \"not run\""), std::string::npos);
  EXPECT_NE(json.find("\"score\": null"), std::string::npos);
  EXPECT_NE(json.find("\"steps\": 0"), std::string::npos);
}

TEST_F(RepeatRunTest, AResultsFileThatCannotBeWrittenFailsButTheReportIsPrinted) {
  platform.fakeFiles.failWith = "No space left on device";
  EXPECT_EQ(Main({"--run", "--results-file", "/full/r.json"}, {1000}), 5);
  EXPECT_NE(err.find("/full/r.json: No space left on device"), std::string::npos) << err;
  EXPECT_NE(out.find("Overall Benchmark Score : 88"), std::string::npos);
}

TEST(RepeatOptions, BadValuesAreRefusedWithExitTwo) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--run", "--repeat", "0"}, "'auto' or a number from 1 to 100, not '0'"},
      {{"--run", "--repeat", "Auto"}, "not 'Auto'"},
      {{"--run", "--repeat=auto3"}, "not 'auto3'"},
      {{"--run", "--repeat", "automatic"}, "not 'automatic'"},
      {{"--repeat", "auto"}, "--repeat works only with --run"},
      {{"--run", "--repeat", "101"}, "not '101'"},
      {{"--run", "--repeat", "-3"}, "not '-3'"},
      {{"--run", "--repeat", "2x"}, "not '2x'"},
      {{"--run", "--repeat="}, "not ''"},
      {{"--run", "--repeat"}, "'--repeat' needs a value"},
      {{"--repeat", "3"}, "--repeat works only with --run"},
      {{"--results-file", "r.json"}, "--results-file works only with --run"},
      {{"--run", "--results-file="}, "needs a file name"},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    EXPECT_EQ(line.action, CommandLine::Action::Error) << c.message;
    EXPECT_NE(line.error.find(c.message), std::string::npos) << line.error;
  }
  const CommandLine ok = ParseCommandLine({"--repeat", "100", "--run", "--results-file=a b"});
  EXPECT_EQ(ok.action, CommandLine::Action::RunDesktop);
  EXPECT_EQ(ok.repeat, 100);
  EXPECT_EQ(ok.resultsFile, "a b");
  EXPECT_FALSE(ok.repeatAuto);
  // The last --repeat counts.
  EXPECT_TRUE(ParseCommandLine({"--run", "--repeat", "5", "--repeat=auto"}).repeatAuto);
  const CommandLine number = ParseCommandLine({"--run", "--repeat=auto", "--repeat", "7"});
  EXPECT_FALSE(number.repeatAuto);
  EXPECT_EQ(number.repeat, 7);
}

TEST(JsonWriter, TextsAreEscapedAndTurnedIntoUtf8) {
  struct Case {
    std::string text;
    const char* json;
  } cases[] = {
      {"plain", "\"plain\""},
      {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
      {"a\r\nb\tc", "\"a\\r\\nb\\tc\""},
      {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
      {"caf\xe9 \x80", "\"caf\xc3\xa9 \xe2\x82\xac\""},  // Windows-1252 in, UTF-8 out
  };
  for (const Case& c : cases) EXPECT_EQ(text::JsonQuoted(c.text), c.json);

  text::JsonWriter json;
  json.BeginObject().Key("a").BeginArray().Int(1).Number(0.5).Null().EndArray();
  json.Key("b").BeginObject().EndObject().Key("c").Number(1.0 / 0.0).Key("d").Bool(true);
  json.EndObject();
  EXPECT_EQ(json.text(),
            "{\n  \"a\": [\n    1,\n    0.5,\n    null\n  ],\n  \"b\": {},\n"
            "  \"c\": null,\n  \"d\": true\n}\n");
}

TEST_F(RepeatRunTest, FactsPrintsTheFactsObjectWithoutAWindow) {
  ASSERT_EQ(Main({"--facts"}, {1000}), 0) << err;
  EXPECT_EQ(err, "");
  EXPECT_TRUE(platform.dialogSystem.runs.empty()) << "no dialog runs for --facts";
  // One JSON object: the facts of the results file, nothing around it.
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out.front(), '{');
  EXPECT_EQ(out.substr(out.size() - 2), "}\n");
  EXPECT_EQ(out.find("\"runs\""), std::string::npos);
  for (const char* member : {"\"mode\": \"1024 x 768 x 32 bits (60 Hz)\"", "\"osBuild\": 2600",
                             "\"isWindowsXP\": 1", "\"refreshHz\": 60", "\"adapter\": ",
                             "\"cpuSpeedMhz\": ", "\"multipleProcessors\": "}) {
    EXPECT_NE(out.find(member), std::string::npos) << member << " in\n" << out;
  }
}

}  // namespace
}  // namespace quorvel
