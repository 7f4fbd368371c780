#include "pages/result_cells.h"

#include "pages/html.h"
#include "values/shown_text.h"

namespace quorvel::results_site {

std::string ProcessorText(const Upload& u) {
  std::string text = ShownText(u.cpuMan);
  if (!u.cpu.empty()) text += (text.empty() ? "" : ", ") + u.cpu + " MHz";
  if (u.multiCPU) text += (text.empty() ? "" : ", ") + std::string("2 processors");
  return text;
}

std::string ResultCells(const StoredResult& r) {
  const Upload& u = r.upload;
  const std::string name = u.userName.empty() ? "(no name)" : ShownText(u.userName);
  return "<td><a href=\"/result/" + std::to_string(r.id) + "\">" + Html(name) + "</a></td><td>" +
         Html(ShownText(u.cardName)) + "</td><td>" + Html(ShownText(u.mode)) + "</td><td>" +
         Html(ProcessorText(u)) + "</td><td>" + Html(u.os) + "</td><td class=\"num overall\">" +
         Thousands(u.overall) + "</td><td>" + UtcDate(r.submittedAt) + "</td>";
}

std::string ResultHeaderCells() {
  return "<th>Name</th><th>Adapter</th><th>Mode</th><th>Processor</th><th>OS</th>"
         "<th class=\"num\">Overall</th><th>Date</th>";
}

}  // namespace quorvel::results_site
