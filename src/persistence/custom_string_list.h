// TCustomStringList: the ordered list of CP932 byte strings on which the line
// list, the label, macro and unit tables, the file set, the breakpoint list
// and the jump history are built.
//
// A list is either kept sorted or holds its entries in the order given.
// Sorted lists find strings by binary search and apply a duplicate policy to
// Add; strings are compared without regard to ASCII letter case unless the
// list is switched to case-sensitive comparison (see CompareText).
//
// Per-entry data: a list type that attaches data to its entries derives from
// this class and overrides NewEntry (see TRecordStringList, TRefStringList,
// TSubStringList). Every operation here moves whole entries, so the data
// follows its string through inserts, deletes, sorts, exchanges and moves,
// and is destroyed with its entry.
//
// Errors: an index outside the list, a duplicate in a list with
// TDuplicates::Error, and an operation that would break a sorted list's order
// (Insert, SetStrings, Exchange, Move, CustomSort, InsertLinesAfter) raise
// EStringListError and leave the list unchanged. The numeric stack operations
// raise EConvertError for a non-numeric entry.
//
// The stream form ("string-list stream"): the byte 0x07, the ASCII tag
// "CSLV100", N as a little-endian 32-bit unsigned, four reserved bytes written
// as 0, then N bytes of text: every entry followed by CR LF. Only the strings
// are stored; a list type with per-entry data writes that data itself after
// the stream.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/entry_store.h"

class TMemoryStream;

// What Add does on a sorted list with a string that is already there.
enum class TDuplicates {
  Accept,  // insert it too, after the equal entries
  Ignore,  // leave the list as it is and return the index of the existing entry
  Error,   // raise EStringListError "文字列が重複しています"
};

// A three-way comparison: negative, zero or positive.
using TStringCompare = std::function<int(const std::string& a, const std::string& b)>;

class TCustomStringList {
 public:
  // An unsorted list that accepts duplicates and ignores letter case.
  TCustomStringList() = default;
  TCustomStringList(bool sorted, TDuplicates duplicates)
      : sorted_(sorted), duplicates_(duplicates) {}
  TCustomStringList(const TCustomStringList&) = delete;
  TCustomStringList& operator=(const TCustomStringList&) = delete;
  virtual ~TCustomStringList() = default;

  // ---- settings
  bool Sorted() const { return sorted_; }
  // Switching sorting on sorts the entries (stably); entries that are equal
  // stay, whatever the duplicate policy, which only governs later adds.
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  bool CaseSensitive() const { return caseSensitive_; }
  // A sorted list is sorted again under the new comparison.
  void SetCaseSensitive(bool caseSensitive);
  // The list's comparison: CompareText, or CompareBytes when case-sensitive.
  int CompareStrings(std::string_view a, std::string_view b) const;

  // The integer mark, 0 at creation (the unit table keeps a unit's visible
  // flag in it).
  int32_t Mark() const { return mark_; }
  void SetMark(int32_t mark) { mark_ = mark; }

  // ---- entries
  int Count() const { return store_.Size(); }
  bool Empty() const { return store_.Size() == 0; }
  const std::string& Strings(int index) const;
  const std::string& operator[](int index) const { return Strings(index); }
  // Replaces the string of an entry (its data stays). Not on sorted lists.
  void SetStrings(int index, std::string s);

  // Unsorted: appends s and returns its index. Sorted: inserts s at its
  // sorted place and returns that index, subject to the duplicate policy.
  int Add(std::string s);
  // Inserts s before position index (0..Count()). Not on sorted lists.
  void Insert(int index, std::string s);
  // Removes the entry and its data.
  void Delete(int index);
  void Clear() { store_.Clear(); }
  // Swap two entries / move one entry to position to. Not on sorted lists.
  void Exchange(int a, int b);
  void Move(int from, int to);

  // Index of the first entry equal to s under the list's comparison, or -1.
  // Binary search on a sorted list, linear otherwise.
  int IndexOf(std::string_view s) const;
  // Sorted list: binary search; true when s is present, index is then the
  // first equal entry, otherwise the position where s would be inserted.
  // Unsorted list: linear search; index is Count() when s is absent.
  bool Find(std::string_view s, int& index) const;
  // Sorted list only: binary search for a probe the caller does not hold as
  // one string. before(text) tells whether an entry's text sorts before the
  // probe under the list's comparison; returns the first index where it does
  // not (Count() when it does everywhere).
  template <class Before>
  int LowerBoundBy(Before before) const {
    return store_.PartitionPoint([&](const TStringEntry& e) { return before(e.text); });
  }

  // Sorts an unsorted list by the list's comparison (stable); the list does
  // not become a sorted list. Nothing to do on a sorted list.
  void Sort();
  // Sorts an unsorted list (stable) by the caller's three-way comparison.
  void CustomSort(const TStringCompare& compare);

  // Appends / replaces with the strings of another list (never its data).
  // AddStrings on a sorted list adds each string under the duplicate policy;
  // a duplicate error stops it there (the strings before stay added).
  // AssignStrings treats the strings as SetText does.
  void AddStrings(const TCustomStringList& other);
  void AssignStrings(const TCustomStringList& other);
  // All strings in order.
  std::vector<std::string> ToVector() const;

  // ---- text forms
  // Every entry followed by CR LF.
  std::string Text() const;
  // Replaces all entries by the lines of text, split at CR LF, CR or LF; a
  // final line break gives no extra empty entry. A sorted list sorts them and
  // applies the duplicate policy; with TDuplicates::Error a duplicate raises
  // EStringListError and leaves the list unchanged.
  void SetText(std::string_view text);

  // Comma text: the entries separated by ","; an entry that is empty or holds
  // a blank, a control character, a comma or a double quote is written inside
  // double quotes with inner double quotes doubled. An empty list gives "".
  std::string CommaText() const;
  // Replaces all entries by the items of a comma text. Outside quotes, blanks
  // and control characters separate items as a comma does (so "a b" gives a
  // and b); a quoted item runs to its closing quote ("" inside stands for ")
  // or to the end. A trailing comma gives a final empty item. Sorted lists as
  // for SetText. CommaText followed by SetCommaText gives the same entries.
  void SetCommaText(std::string_view text);

  // ---- name=value entries
  // The text before the first "=", or "" when the entry has no "=".
  std::string Name(int index) const;
  // The text after the first "=", or "" when the entry has no "=".
  std::string ValueOf(int index) const;
  // Index of the first entry that has an "=" and whose name equals name under
  // the list's comparison (linear search), or -1.
  int IndexOfName(std::string_view name) const;
  // ValueOf the entry IndexOfName finds, or "" when there is none.
  std::string ValueOfName(std::string_view name) const;

  // ---- stream
  void SaveToStream(TMemoryStream& stream) const;
  // Replaces all entries. From the stream's position: a headed text is read
  // with its header and the stream is left right after the text, so several
  // lists can follow one another; a stream that ends inside the text gives
  // the bytes that are there. Without the header everything from the
  // position to the end is read as plain text. The text is split as SetText
  // does. If the list refuses the text (a duplicate with TDuplicates::Error)
  // the list and the stream position are left unchanged.
  void LoadFromStream(TMemoryStream& stream);

  // ---- stack operations
  // Add(s); returns Count() afterwards.
  int Push(std::string s);
  int PushNumber(int32_t n);
  // Removes and returns the last entry; "" when the list is empty.
  std::string Pop();
  // The last entry read as a decimal integer and removed; -1 when the list is
  // empty or the entry is empty. A non-numeric entry raises EConvertError and
  // stays in the list.
  virtual int32_t PopNum();
  // The last / first entry, or "" when the list is empty.
  std::string Top() const;
  std::string Bottom() const;
  // Top / Bottom read as a decimal integer; -1 when that text is empty.
  // A non-numeric entry raises EConvertError.
  int32_t TopNumber() const;
  int32_t BottomNumber() const;

  // Inserts the strings of lines, in their order, directly after entry index
  // (-1: before the first entry; the last index appends). The new entries
  // carry no data. Not on sorted lists.
  void InsertLinesAfter(int index, const TCustomStringList& lines);

 protected:
  // Makes a fresh entry for s; list types with per-entry data return their
  // own entry type, which every entry of the list then has.
  virtual TEntryPtr NewEntry(std::string s) const {
    return std::make_unique<TStringEntry>(std::move(s));
  }

  TStringEntry& EntryAt(int index);
  const TStringEntry& EntryAt(int index) const;
  // Add and Insert of a ready entry, which must be of the type NewEntry makes.
  int AddEntry(TEntryPtr entry);
  void InsertEntry(int index, TEntryPtr entry);
  // Stable sort of an unsorted list by a three-way comparison of entries.
  // If the comparison throws, the list keeps its order.
  using TEntryCompare = std::function<int(const TStringEntry&, const TStringEntry&)>;
  void SortEntries(const TEntryCompare& compare);
  // Raises EStringListError when the index is outside 0..Count()-1.
  void CheckIndex(int index) const;

 private:
  void CheckUnsorted() const;
  // First index whose string is not below s / is above s.
  int LowerBound(std::string_view s) const;
  int UpperBound(std::string_view s) const;
  // Replaces all entries with fresh entries for the strings (sorted lists:
  // sorted, duplicate policy applied); leaves the list unchanged on error.
  void AssignFromStrings(std::vector<std::string> strings);
  void SortStable();
  void Reorder(const TEntryCompare& compare);

  TEntryStore store_;
  bool sorted_ = false;
  TDuplicates duplicates_ = TDuplicates::Accept;
  bool caseSensitive_ = false;
  int32_t mark_ = 0;
};
