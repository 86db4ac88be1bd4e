#include "persistence/string_list_messages.h"

#include "persistence/encoding.h"
#include "persistence/int_text.h"

const std::string& DuplicateStringMessage() {
  static const std::string message = Sjis("文字列が重複しています");
  return message;
}

std::string ListIndexMessage(int index) {
  return Sjis("リストのインデックスが範囲を超えています (") + IntToStr(index) + ")";
}

const std::string& SortedListMessage() {
  static const std::string message = Sjis("ソートされたリストでは実行できません");
  return message;
}
