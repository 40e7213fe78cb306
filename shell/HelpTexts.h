#pragma once

#include <cstdint>
#include <string>

// The six texts of the Help window, one per tab, in tab order ("目的", "操作", "解説", "履歴",
// "使用条件", "感謝"). UTF-8, every line ended by CR, as the text areas hold them.
constexpr std::int32_t kHelpTextCount = 6;

// `index` counts from 1, like the tab pages; outside 1..6 the text is empty.
std::string HelpText(std::int32_t index);
