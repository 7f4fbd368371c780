#include "pages/comparison.h"

#include <algorithm>
#include <cstdio>

#include "pages/html.h"
#include "pages/result_cells.h"
#include "site/upload_protocol.h"
#include "values/shown_text.h"

namespace quorvel::results_site {
namespace {

std::string PageLink(const ResultFilter& filter, std::int64_t page) {
  std::string link = std::string(kComparisonPagePath) + "?page=" + std::to_string(page);
  if (!filter.adapter.empty()) link += "&amp;adapter=" + UrlValue(filter.adapter);
  if (!filter.os.empty()) link += "&amp;os=" + UrlValue(filter.os);
  return link;
}

std::string Option(const std::string& value, const std::string& label, bool selected) {
  return "<option value=\"" + Html(value) + "\"" + (selected ? " selected" : "") + ">" +
         Html(label) + "</option>";
}

std::string Median(double median) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", median);
  std::string s = text;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  return s;
}

std::string YourResultSection(const Comparison& c) {
  if (!c.yours) return "";
  const Ranking& rank = c.yourRanking;
  return "<h2>Your result</h2>\n<table id=\"your-result-table\">\n<tr>" + ResultHeaderCells() +
         "<th>Rank</th></tr>\n<tr id=\"your-result\">" + ResultCells(*c.yours) +
         "<td id=\"your-rank\">faster than " + std::to_string(rank.Percent()) + " % of " +
         Thousands(rank.total) + (rank.total == 1 ? " result" : " results") + "</td></tr>\n</table>\n";
}

std::string FilterForm(const Comparison& c) {
  std::string form =
      "<form id=\"filters\" method=\"get\" action=\"" + std::string(kComparisonPagePath) +
      "\">\n<label>Adapter <select name=\"adapter\">" +
      Option("", "All adapters", c.filter.adapter.empty());
  bool adapterListed = c.filter.adapter.empty();
  for (const AdapterSummary& a : c.adapters) {
    form += Option(a.cardName, ShownText(a.cardName), a.cardName == c.filter.adapter);
    adapterListed = adapterListed || a.cardName == c.filter.adapter;
  }
  if (!adapterListed) form += Option(c.filter.adapter, ShownText(c.filter.adapter), true);
  form += "</select></label>\n<label>OS <select name=\"os\">" +
          Option("", "All systems", c.filter.os.empty());
  for (const std::string& os : c.osNames) form += Option(os, os, os == c.filter.os);
  form += "</select></label>\n<button type=\"submit\">Show</button>\n</form>\n";
  return form;
}

std::string TopTable(const Comparison& c) {
  std::string html = "<h2>Top results</h2>\n<p id=\"matching\">" + Thousands(c.matching) +
                     (c.matching == 1 ? " result" : " results") +
                     (c.filter.adapter.empty() && c.filter.os.empty() ? "" : " match the filter") +
                     ".</p>\n<table id=\"top-results\">\n<tr><th class=\"num\">#</th>" +
                     ResultHeaderCells() + "</tr>\n";
  const std::int64_t first = (c.page - 1) * kResultsPerPage;
  for (std::size_t i = 0; i < c.top.size(); ++i) {
    const StoredResult& r = c.top[i];
    const bool yours = c.yours && c.yours->id == r.id;
    html += std::string("<tr") + (yours ? " class=\"yours\"" : "") + " data-id=\"" +
            std::to_string(r.id) + "\"><td class=\"num\">" +
            Thousands(first + static_cast<std::int64_t>(i) + 1) + "</td>" + ResultCells(r) +
            "</tr>\n";
  }
  html += "</table>\n<nav id=\"pages\">";
  if (c.page > 1) html += "<a rel=\"prev\" href=\"" + PageLink(c.filter, c.page - 1) + "\">Previous</a> ";
  html += "Page " + Thousands(c.page) + " of " + Thousands(c.pageCount);
  if (c.page < c.pageCount) html += " <a rel=\"next\" href=\"" + PageLink(c.filter, c.page + 1) + "\">Next</a>";
  html += "</nav>\n";
  return html;
}

std::string AdapterTable(const Comparison& c) {
  std::string html =
      "<h2>Adapters</h2>\n<table id=\"adapters\">\n<tr><th>Adapter</th><th class=\"num\">Median "
      "overall</th><th class=\"num\">Results</th></tr>\n";
  for (const AdapterSummary& a : c.adapters) {
    const std::string shown = a.cardName.empty() ? "(unknown)" : ShownText(a.cardName);
    html += "<tr><td><a href=\"" + std::string(kComparisonPagePath) + "?adapter=" + UrlValue(a.cardName) + "\">" + Html(shown) +
            "</a></td><td class=\"num\">" + Median(a.medianOverall) + "</td><td class=\"num\">" +
            Thousands(a.count) + "</td></tr>\n";
  }
  return html + "</table>\n";
}

}  // namespace

bool GatherComparison(ResultStore& store, ScoreSummary& summary, const ComparisonRequest& request,
                      Comparison& out, std::string& error) {
  out = Comparison{};
  out.filter = request.filter;
  // The visitor's result first: the figures read after it count it, also
  // when another server on the database took it a moment ago.
  if (!request.sender.empty() &&
      !store.NewestFrom(request.sender, request.now - kHighlightSeconds, out.yours, error)) {
    return false;
  }
  ScoreSummary::View view;
  if (!summary.Current(store, out.filter, view, error)) return false;
  const ScoreSummary::Figures& figures = *view.figures;
  out.total = figures.total;
  out.matching = view.matching;
  out.pageCount = std::max<std::int64_t>(1, (out.matching + kResultsPerPage - 1) / kResultsPerPage);
  out.page = std::clamp<std::int64_t>(request.page, 1, out.pageCount);
  const ListStart start = summary.StartOf(out.filter, (out.page - 1) * kResultsPerPage);
  if (!store.Top(out.filter, start, kResultsPerPage, out.top, error)) return false;
  if (out.yours) {
    out.yourRanking.total = figures.total;
    out.yourRanking.below = figures.Below(out.yours->upload.overall);
  }
  out.adapters = figures.adapters;
  out.osNames = figures.osNames;
  out.binWidth = HistogramBinWidth(figures.maxOverall, kHistogramTargetBins);
  out.bins = ScoreSummary::Bins(figures.scores, out.binWidth);
  return true;
}

std::string RenderComparisonPage(const Comparison& c) {
  std::string html = PageStart("Quorvel results");
  html += "<h1>Quorvel results</h1>\n";
  html += YourResultSection(c);
  html += FilterForm(c);
  html += TopTable(c);
  html += "<h2>Overall scores</h2>\n<figure>\n";
  html += HistogramSvg(c.binWidth, c.bins,
                       c.yours ? std::optional<std::int64_t>(c.yours->upload.overall) : std::nullopt);
  html += "<figcaption>" + Thousands(c.total) + (c.total == 1 ? " result" : " results") +
          " by overall score, in steps of " + Thousands(c.binWidth) + "</figcaption>\n</figure>\n";
  html += AdapterTable(c);
  html += PageEnd();
  return html;
}

}  // namespace quorvel::results_site
