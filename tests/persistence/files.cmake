# Test sources of the persistence subsystem.
set(QRX_TESTS_PERSISTENCE
  tests/persistence/compare_text_test.cpp
  tests/persistence/encoding_test.cpp
  tests/persistence/entry_store_test.cpp
  tests/persistence/memory_stream_test.cpp
  tests/persistence/file_io_test.cpp
  tests/persistence/record_lists_test.cpp
  tests/persistence/string_list_stream_test.cpp
  tests/persistence/string_list_test.cpp
  tests/persistence/string_list_text_test.cpp
  tests/persistence/file_stamp_test.cpp
  tests/persistence/file_set_test.cpp
)
