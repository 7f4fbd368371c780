#include "results/results_document.h"

#include "bench/run_figures.h"

namespace quorvel {
namespace {

using text::JsonWriter;

const char* StatusName(TestStatus status) {
  switch (status) {
    case TestStatus::Scored: return "scored";
    case TestStatus::NotRun: return "not run";
    case TestStatus::Closed: break;
  }
  return "closed";
}

void WriteSpread(JsonWriter& json, const Spread& s) {
  json.BeginObject();
  json.Key("median").Number(s.median);
  json.Key("mean").Number(s.mean);
  json.Key("min").Number(s.min);
  json.Key("max").Number(s.max);
  json.Key("stddev").Number(s.stddev);
  json.Key("cv").Number(s.cv);
  json.EndObject();
}

void WriteFrames(JsonWriter& json, const TestFigures& f) {
  if (!f.framesReported) {
    json.Null();
    return;
  }
  json.BeginObject();
  json.Key("drawn").Int(f.framesDrawn);
  json.Key("latencyMicroseconds").BeginObject();
  json.Key("p50").Number(f.frameLatency.p50);
  json.Key("p99").Number(f.frameLatency.p99);
  json.EndObject();
  json.EndObject();
}

void WriteThread(JsonWriter& json, const platform::ThreadSchedule& t) {
  if (!t.known) {
    json.Null();
    return;
  }
  json.BeginObject();
  json.Key("processors").BeginArray();
  json.Int(t.processorAtStart);
  json.Int(t.processorAtEnd);
  json.EndArray();
  json.Key("runMicroseconds").Number(t.runNs / 1000.0);
  json.Key("waitMicroseconds").Number(t.waitNs / 1000.0);
  json.Key("migrations").Int(t.migrations);
  json.Key("involuntarySwitches").Int(t.involuntarySwitches);
  json.EndObject();
}

void WriteSchedule(JsonWriter& json, const platform::StepsSchedule& s) {
  if (!s.reported) {
    json.Null();
    return;
  }
  json.BeginObject();
  json.Key("worker");
  WriteThread(json, s.worker);
  json.Key("window");
  WriteThread(json, s.window);
  json.Key("server");
  WriteThread(json, s.server);
  if (s.stealNs >= 0) {
    json.Key("stealMicroseconds").Number(s.stealNs / 1000.0);
  } else {
    json.Key("stealMicroseconds").Null();
  }
  json.EndObject();
}

void WriteTest(JsonWriter& json, const TestRecord& test, const TestFigures& figures) {
  json.BeginObject();
  json.Key("label").String(test.label);
  json.Key("status").String(StatusName(test.status));
  if (test.status == TestStatus::Closed) {
    json.Key("scoreText").Null();
  } else {
    json.Key("scoreText").String(test.scoreText);
  }
  if (test.status == TestStatus::Scored) {
    json.Key("score").Number(test.score);
  } else {
    json.Key("score").Null();
  }
  json.Key("steps").Int(static_cast<std::int64_t>(test.stepTicks.size()));
  if (!figures.stepped) {
    json.Key("stepMicroseconds").Null();
  } else {
    const StepStatistics& s = figures.steps;
    json.Key("stepMicroseconds").BeginObject();
    json.Key("min").Number(s.min);
    json.Key("p50").Number(s.p50);
    json.Key("p90").Number(s.p90);
    json.Key("p99").Number(s.p99);
    json.Key("max").Number(s.max);
    json.EndObject();
  }
  json.Key("compositorFrames");
  WriteFrames(json, figures);
  // Read back only after a scored test's steps: a test that did not run
  // showed nothing to judge.
  json.Key("schedule");
  WriteSchedule(json, test.schedule);
  json.Key("shown").String(ShownText(test.shown.verdict));
  if (test.shown.fractionMeasured) {
    json.Key("blendFraction").Number(test.shown.blendFraction);
  } else {
    json.Key("blendFraction").Null();
  }
  json.EndObject();
}

// The median's 95 % confidence interval; null for fewer than two runs.
void WriteMedianInterval(JsonWriter& json, const MedianInterval& interval) {
  if (!interval.known) {
    json.Null();
    return;
  }
  json.BeginObject();
  json.Key("low").Number(interval.low);
  json.Key("high").Number(interval.high);
  if (interval.relativeKnown) {
    json.Key("relativeHalfWidth").Number(interval.relativeHalfWidth);
  } else {
    json.Key("relativeHalfWidth").Null();
  }
  json.EndObject();
}

void WriteSummary(JsonWriter& json, std::size_t runs, const RunsFigures& figures,
                  StopReason stopReason) {
  json.BeginObject();
  json.Key("runs").Int(static_cast<std::int64_t>(runs));
  json.Key("stopReason").String(StopReasonName(stopReason));
  json.Key("overallScore");
  WriteSpread(json, figures.overall);
  json.Key("medianInterval");
  WriteMedianInterval(json, figures.interval);
  json.Key("tests").BeginObject();
  for (const LabelFigures& label : figures.labels) {
    json.Key(label.label).BeginObject();
    if (!label.scored) {
      json.Key("median").Null();
      json.Key("cv").Null();
    } else {
      json.Key("median").Number(label.median);
      json.Key("cv").Number(label.cv);
    }
    json.EndObject();
  }
  json.EndObject();
  json.EndObject();
}

}  // namespace

void WriteFacts(JsonWriter& json, const SystemInfo& info) {
  json.BeginObject();
  json.Key("adapter").String(info.adapterName);
  json.Key("driverVersion").String(info.driverVersion);
  json.Key("videoMemoryMb").Int(info.videoMemoryMb);
  json.Key("screenWidth").Int(info.screenWidth);
  json.Key("screenHeight").Int(info.screenHeight);
  json.Key("colourBits").Int(info.colourBits);
  json.Key("refreshHz").Int(info.refreshHz);
  json.Key("mode").String(info.modeText);
  json.Key("constantAlphaAccelerated").Int(info.constantAlphaAccelerated);
  json.Key("perPixelAlphaAccelerated").Int(info.perPixelAlphaAccelerated);
  json.Key("gradientFillAccelerated").Int(info.gradientFillAccelerated);
  json.Key("cpuSpeedMhz").String(info.cpuSpeedMhz);
  json.Key("cpuVendor").String(info.cpuVendor);
  json.Key("cpuIdentifier").String(info.cpuIdentifier);
  json.Key("multipleProcessors").Int(info.multipleProcessors);
  json.Key("osBuild").Int(info.osBuild);
  json.Key("isWindowsXP").Int(info.isWindowsXP);
  json.EndObject();
}

std::string ResultsDocument(const SystemInfo& info, const platform::DesktopDescription& desktop,
                            const std::vector<SequenceRecord>& runs, StopReason stopReason) {
  JsonWriter json;
  json.BeginObject();
  json.Key("program").String("quorvel");
  json.Key("version").String(QUORVEL_VERSION);
  json.Key("facts");
  WriteFacts(json, info);

  json.Key("desktop").BeginObject();
  json.Key("backend").String(desktop.backend);
  if (desktop.windowManagerKnown) {
    json.Key("windowManager").String(desktop.windowManager);
  } else {
    json.Key("windowManager").Null();
  }
  json.Key("compositor").Bool(desktop.compositor);
  json.Key("frameDrawn").Bool(desktop.frameDrawn);
  json.EndObject();

  const RunsFigures figures = ComputeRunsFigures(runs);
  json.Key("runs").BeginArray();
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const SequenceRecord& run = runs[r];
    json.BeginObject();
    json.Key("tests").BeginArray();
    for (std::size_t t = 0; t < run.tests.size(); ++t) {
      WriteTest(json, run.tests[t], figures.tests[r][t]);
    }
    json.EndArray();
    json.Key("layeredScore").Int(run.layeredScore);
    json.Key("overallScore").Int(run.overallScore);
    json.Key("outlier").Bool(figures.outliers[r]);
    json.EndObject();
  }
  json.EndArray();

  json.Key("summary");
  WriteSummary(json, runs.size(), figures, stopReason);
  json.EndObject();
  return json.text();
}

}  // namespace quorvel
