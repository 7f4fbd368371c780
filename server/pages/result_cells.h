// How one result's fields read on a page (shared by the comparison page
// and the page of one result).
#pragma once

#include <string>

#include "storage/stored_result.h"

namespace quorvel::results_site {

// "GenuineIntel, 800 MHz, 2 processors": the processor as one text, as
// shown (underscores as blanks).
std::string ProcessorText(const Upload& upload);

// The cells <td>...</td> of one result in the top list's columns: name
// (a link to the result's page), adapter, mode, processor, OS, overall
// score, date. Texts are shown with blanks for underscores, and everything
// from the user is escaped.
std::string ResultCells(const StoredResult& result);

// The header cells of the same columns.
std::string ResultHeaderCells();

}  // namespace quorvel::results_site
