# The browser build: the game compiled to WebAssembly by emcc, on SDL 2 and
# SDL2_mixer built for wasm by tools/web/build-libs.sh (DRIFTWING_WEB_PREFIX).
# `make web` drives it; the desktop builds never read this file.
set(DRIFTWING_WEB_PREFIX "" CACHE PATH "Where build-libs.sh installed the wasm libraries")
set(DRIFTWING_WEB_ROOT "" CACHE PATH "The game root to preload: data/, Data/ and demos/")
if(NOT DRIFTWING_WEB_PREFIX OR NOT DRIFTWING_WEB_ROOT)
  message(FATAL_ERROR "the web build needs DRIFTWING_WEB_PREFIX and DRIFTWING_WEB_ROOT (make web sets them)")
endif()

# The same sources as the desktop's SDL 2 build, less the signal thread: a
# page has neither signals nor threads (platform/web/ stands in for it).
file(GLOB CORE_SOURCES CONFIGURE_DEPENDS
  core/*.cpp world/*.cpp assets/*.cpp objects/*.cpp render/*.cpp game/*.cpp demo/*.cpp
  platform/*.cpp platform/sdl2/*.cpp platform/web/*.cpp)
list(REMOVE_ITEM CORE_SOURCES ${CMAKE_SOURCE_DIR}/platform/signals.cpp)
add_library(driftcore STATIC ${CORE_SOURCES})
target_include_directories(driftcore PUBLIC ${CMAKE_SOURCE_DIR} ${DRIFTWING_WEB_PREFIX}/include/SDL2)
target_compile_options(driftcore PUBLIC -O2)

add_executable(driftwing web/main.cpp)
target_link_libraries(driftwing PRIVATE driftcore
  ${DRIFTWING_WEB_PREFIX}/lib/libSDL2_mixer.a
  ${DRIFTWING_WEB_PREFIX}/lib/libxmp.a
  ${DRIFTWING_WEB_PREFIX}/lib/libSDL2.a)
set(WEB_PAGE ${CMAKE_SOURCE_DIR}/web/page)
target_link_options(driftwing PRIVATE
  -O2
  -sALLOW_MEMORY_GROWTH=1
  # SDL 2's audio code calls these two helpers, which only emscripten's own
  # (downloaded) SDL port pulls in; without them Mix_OpenAudio throws.
  # (Named in a file: a "$" on the command line is the shell's.)
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/web/library-funcs.txt
  # The page's storage: the best score in IndexedDB.
  -lidbfs.js
  # The game's data, demos included, at /game in the page's file system.
  "SHELL:--preload-file ${DRIFTWING_WEB_ROOT}@/game"
  "SHELL:--pre-js ${WEB_PAGE}/prerun.js")
set_property(TARGET driftwing APPEND PROPERTY LINK_DEPENDS ${WEB_PAGE}/prerun.js)
set_target_properties(driftwing PROPERTIES SUFFIX ".js")
