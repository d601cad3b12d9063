# The pinned SQLite amalgamation fetched by tools/fetch-sqlite.sh, as a static library.
set(VORPEN_SQLITE_DIR ${CMAKE_SOURCE_DIR}/third_party/sqlite)
if(NOT EXISTS ${VORPEN_SQLITE_DIR}/sqlite3.c)
  message(FATAL_ERROR "SQLite amalgamation missing: run tools/setup.sh (or tools/fetch-sqlite.sh)")
endif()
add_library(sqlite3 STATIC ${VORPEN_SQLITE_DIR}/sqlite3.c)
target_include_directories(sqlite3 SYSTEM PUBLIC ${VORPEN_SQLITE_DIR})
target_compile_definitions(sqlite3 PRIVATE SQLITE_OMIT_LOAD_EXTENSION SQLITE_THREADSAFE=0
                           SQLITE_DEFAULT_FOREIGN_KEYS=0 SQLITE_DQS=0)
target_compile_options(sqlite3 PRIVATE -w)
set_target_properties(sqlite3 PROPERTIES POSITION_INDEPENDENT_CODE ON)
