# The browser version, built by Emscripten (emcmake cmake ...; `make web`
# does it). The same sources as the desktop's, with the platform layer's
# browser side; the libraries come from scripts/build-web-deps, and the
# pictures and sounds from the desktop build's asset generator, which has
# to run on this machine (QUADRILL_WEB_ASSETS names its output folder).
# What comes out is a folder of static files: index.html, quadrill.js and
# quadrill.wasm (the fonts, pictures and sounds are inside the wasm).

set(QUADRILL_WEB_DEPS "${PROJECT_SOURCE_DIR}/build-web-deps/prefix" CACHE PATH
    "Where scripts/build-web-deps installed SDL2, SDL2_ttf, SDL2_mixer and FreeType")
set(QUADRILL_WEB_ASSETS "${PROJECT_SOURCE_DIR}/build/generated/assets" CACHE PATH
    "The desktop build's generated/assets folder")
set(QUADRILL_WEB_SITE "${PROJECT_SOURCE_DIR}/build-web" CACHE PATH "Where the page and its files go")

foreach(library SDL2 SDL2_ttf SDL2_mixer freetype)
  if(NOT EXISTS "${QUADRILL_WEB_DEPS}/lib/lib${library}.a")
    message(FATAL_ERROR "${QUADRILL_WEB_DEPS}/lib/lib${library}.a is missing: run scripts/build-web-deps")
  endif()
endforeach()

set(QUADRILL_GENERATED_ASSETS "")
foreach(name picMisc.bmp picFont.bmp picCombat.bmp picMenu.bmp icon.bmp cur.bmp
             micek.wav odpal.wav okraj.wav klik.wav tlacitko.wav)
  if(NOT EXISTS "${QUADRILL_WEB_ASSETS}/${name}")
    message(FATAL_ERROR "${QUADRILL_WEB_ASSETS}/${name} is missing: build the desktop game first")
  endif()
  list(APPEND QUADRILL_GENERATED_ASSETS "${QUADRILL_WEB_ASSETS}/${name}")
endforeach()
include(cmake/Resources.cmake)

file(GLOB_RECURSE QUADRILL_CORE_SOURCES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/*.cpp")
list(REMOVE_ITEM QUADRILL_CORE_SOURCES "${PROJECT_SOURCE_DIR}/src/main.cpp"
     "${PROJECT_SOURCE_DIR}/src/net/transport/Transport.cpp"
     "${PROJECT_SOURCE_DIR}/src/net/transport/RelaySocket.cpp"
     "${PROJECT_SOURCE_DIR}/src/net/transport/HomeRouters.cpp"
     "${PROJECT_SOURCE_DIR}/src/net/transport/UpnpMapper.cpp"
     "${PROJECT_SOURCE_DIR}/src/net/transport/NatPmpMapper.cpp")
add_library(quadrill_core STATIC ${QUADRILL_CORE_SOURCES} ${QUADRILL_RESOURCE_SOURCES})
target_include_directories(quadrill_core PUBLIC "${PROJECT_SOURCE_DIR}/src"
  "${QUADRILL_WEB_DEPS}/include" "${QUADRILL_WEB_DEPS}/include/SDL2")
target_compile_definitions(quadrill_core PRIVATE QUADRILL_VERSION="${PROJECT_VERSION}")
# Running out of memory is told to the player, as on the desktop.
target_compile_options(quadrill_core PUBLIC -fexceptions)

add_executable(quadrill src/main.cpp)
target_link_libraries(quadrill PRIVATE quadrill_core
  "${QUADRILL_WEB_DEPS}/lib/libSDL2_ttf.a" "${QUADRILL_WEB_DEPS}/lib/libfreetype.a"
  "${QUADRILL_WEB_DEPS}/lib/libSDL2_mixer.a" "${QUADRILL_WEB_DEPS}/lib/libSDL2.a")
set_target_properties(quadrill PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${QUADRILL_WEB_SITE}" SUFFIX ".js")
# One thread (the page's), memory that grows as needed, the files the page
# keeps in IndexedDB, and the few functions the page calls.
target_link_options(quadrill PRIVATE -fexceptions -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
  -sENVIRONMENT=web -lidbfs.js -sFORCE_FILESYSTEM=1
  "-sEXPORTED_FUNCTIONS=['_main','_quadrill_open_replay']"
  "-sEXPORTED_RUNTIME_METHODS=['FS','ENV','ccall','addRunDependency','removeRunDependency']"
  -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=2
  # SDL's browser audio calls these from its JavaScript: the context resumed
  # at the first key or click, and the callback that fills the buffers.
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${PROJECT_SOURCE_DIR}/web/sdl-library-functions.txt")

# The page, with its script and style inside: copied beside the game.
foreach(file index.html)
  configure_file("${PROJECT_SOURCE_DIR}/web/${file}" "${QUADRILL_WEB_SITE}/${file}" COPYONLY)
endforeach()
