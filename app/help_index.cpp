#include "app/help_index.h"

#include <strings.h>

#include <algorithm>
#include <regex>

namespace quillex {

namespace {

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
}

std::string FirstMatch(const std::string& html, const std::regex& pattern) {
  std::smatch match;
  return std::regex_search(html, match, pattern) ? Trimmed(match[1].str()) : std::string();
}

}  // namespace

std::string PageTitle(const std::string& html) {
  static const std::regex kTitle("<title>([^<]*)</title>", std::regex::icase);
  std::string title = FirstMatch(html, kTitle);
  // The pages' titles begin with the manual's name.
  const std::string prefix = "Quillex - ";
  return title.rfind(prefix, 0) == 0 ? title.substr(prefix.size()) : title;
}

std::vector<std::string> PageKeywords(const std::string& html) {
  static const std::regex kKeywords("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\"",
                                    std::regex::icase);
  std::vector<std::string> keywords;
  std::string list = FirstMatch(html, kKeywords);
  size_t at = 0;
  while (at <= list.size()) {
    size_t comma = std::min(list.find(',', at), list.size());
    std::string keyword = Trimmed(list.substr(at, comma - at));
    if (!keyword.empty()) keywords.push_back(keyword);
    at = comma + 1;
  }
  return keywords;
}

std::vector<HelpTopic> ReadHelpIndex(const std::vector<HelpPage>& pages) {
  std::vector<HelpTopic> index;
  for (const HelpPage& page : pages) {
    for (const std::string& keyword : PageKeywords(page.html)) {
      index.push_back(HelpTopic{keyword, page.file, page.title});
    }
  }
  std::sort(index.begin(), index.end(), [](const HelpTopic& a, const HelpTopic& b) {
    int order = strcasecmp(a.keyword.c_str(), b.keyword.c_str());
    return order != 0 ? order < 0 : a.title < b.title;
  });
  return index;
}

std::vector<HelpTopic> FindTopics(const std::vector<HelpTopic>& index, const std::string& typed) {
  std::string start = Trimmed(typed);
  std::vector<HelpTopic> found;
  for (const HelpTopic& topic : index) {
    if (strncasecmp(topic.keyword.c_str(), start.c_str(), start.size()) == 0) found.push_back(topic);
  }
  return found;
}

}  // namespace quillex
