// The keyword index of the help pages, for the help window's search.
//
// Every page of the manual names its keywords in a <meta name="keywords">
// line, so the index is read from the pages themselves and never falls out
// of step with them. A search takes the start of a keyword, as typed: the
// keywords that begin with it, in alphabetical order, each with the pages
// that name it.
#pragma once

#include <string>
#include <vector>

namespace quillex {

struct HelpPage {
  std::string file;   // "jobs.html"
  std::string title;  // the page's <title>
  std::string html;
};

struct HelpTopic {
  std::string keyword;
  std::string file;
  std::string title;
};

// One topic for every keyword of every page, ordered by keyword (without
// regard to case), then by page title.
std::vector<HelpTopic> ReadHelpIndex(const std::vector<HelpPage>& pages);

// A page's title and keywords as written in its head.
std::string PageTitle(const std::string& html);
std::vector<std::string> PageKeywords(const std::string& html);

// The topics whose keyword begins with the typed text, without regard to
// case or to blanks around it; all of them for an empty text.
std::vector<HelpTopic> FindTopics(const std::vector<HelpTopic>& index, const std::string& typed);

}  // namespace quillex
