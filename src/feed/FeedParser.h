#pragma once

#include <cstdint>
#include <string_view>

#include "feed/Article.h"

namespace orv {

// The pattern one article of the feed answer is matched with.
inline constexpr char kArticlePattern[] =
    R"re(ctime":"(\d+-\d+-\d+)","title":"(.*?)","description":"(.*?)","picUrl":"(.*?)","url":"(.*?)")re";

// Refills `target` with the articles of the answer and returns the feed's
// result code (of the first page when several are joined). With `dedupe` an
// article whose title is blank, or equal to an earlier one once blanks are
// removed (case counts), is skipped. `target` is emptied only after matching.
int32_t ParseFeed(std::string_view answer, bool dedupe, ArticleList& target);

}  // namespace orv
