set(QRX_PERSISTENCE_SOURCES
  src/persistence/encoding.cpp
  src/persistence/memory_stream.cpp
)
