#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace orv {

// Code|message lines, CRLF between them.
extern const char kFeedResultTable[];

// The message for a result code other than 200: the table's, or "unknown error".
std::string FeedResultMessage(int32_t code);

// Tells the user what a code other than 200 means: `show(text, title)` is
// called with the message and the title "错误"; nothing happens for 200.
void ReportFeedResult(int32_t code, const std::function<void(const std::string&, const std::string&)>& show);

}  // namespace orv
