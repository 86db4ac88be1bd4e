// The CP932 messages of the string lists' errors.
#pragma once

#include <string>

// "文字列が重複しています": Add of a duplicate to a list that refuses them.
const std::string& DuplicateStringMessage();
// "リストのインデックスが範囲を超えています (index)".
std::string ListIndexMessage(int index);
// "ソートされたリストでは実行できません": an operation that would break the order.
const std::string& SortedListMessage();
