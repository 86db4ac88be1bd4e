# Streams, the string-list family and its stream, encodings, numbers as
# text, file I/O, the file set, time stamps and path texts (no Qt).
set(QRX_PERSISTENCE_SOURCES
  src/persistence/bool_list.cpp
  src/persistence/compare_text.cpp
  src/persistence/custom_string_list.cpp
  src/persistence/encoding.cpp
  src/persistence/entry_store.cpp
  src/persistence/file_io.cpp
  src/persistence/file_set.cpp
  src/persistence/file_source.cpp
  src/persistence/file_stamp.cpp
  src/persistence/int_text.cpp
  src/persistence/memory_stream.cpp
  src/persistence/path_text.cpp
  src/persistence/string_list_messages.cpp
  src/persistence/string_list_stream.cpp
  src/persistence/string_list_text.cpp
  src/persistence/sub_string_list.cpp
)
