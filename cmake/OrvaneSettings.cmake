# One place for the compile settings every target shares.
add_library(orvane_settings INTERFACE)
target_compile_features(orvane_settings INTERFACE cxx_std_20)
target_compile_options(orvane_settings INTERFACE -Wall -Wextra -Wpedantic)
# Warnings become errors with CMAKE_COMPILE_WARNING_AS_ERROR (the ci preset).

# orvane_layer(<target> <folder>)
# Includes are written from the project root ("device/codec.h"), but no target
# sees the whole root: each folder's library makes its own folder includable,
# for itself and for whatever links it, through a root of its own that holds
# only that folder. A target thus sees exactly the folders it links, and an
# include that runs the wrong way (device/ reaching into wizard/) fails to
# build. Tests and tools, at the top, see the whole root. A folder with two
# targets (a portable core and its platform part) calls this for each: they
# share the one root.
function(orvane_layer target folder)
  set(root ${PROJECT_BINARY_DIR}/layers/${folder})
  set(link ${root}/${folder})
  set(made FALSE)
  if(IS_SYMLINK ${link})
    file(READ_SYMLINK ${link} points_to)
    if(points_to STREQUAL "${PROJECT_SOURCE_DIR}/${folder}")
      set(made TRUE)
    endif()
  endif()
  if(NOT made)
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${link} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# orvane_add_test(<name> LABEL <unit|gui|lab> SOURCES ... [LIBS ...] [ENV ...])
# Builds one GoogleTest binary and registers each of its tests with ctest under
# the label. Discovery happens when ctest runs, so building never starts a test.
function(orvane_add_test name)
  cmake_parse_arguments(T "" "LABEL;TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE orvane_settings GTest::gtest GTest::gmock ${T_LIBS})
  if(T_LABEL STREQUAL "gui")
    # GUI tests get a main() that creates the QApplication first.
    target_link_libraries(${name} PRIVATE orvane_gui_test_main)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(env ${T_ENV})
  if(T_LABEL STREQUAL "gui")
    list(APPEND env QT_QPA_PLATFORM=offscreen)
  endif()
  # Under an emulator (Wine for the Windows build) listing the tests takes a
  # program start of its own, slower than the default 5 s allow at first.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    TEST_PREFIX "${name}."
    PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${env}")
endfunction()

# orvane_windows_program(<target> <description>)
# On Windows, gives the program its icon, version information and application
# manifest (cmake/windows/): product "Orvane Setup" of company Orvane, the
# project's version, the description given, started as the user who started
# it, DPI-aware per monitor, common controls 6, made for Windows 7 to 11.
function(orvane_windows_program target description)
  if(NOT WIN32)
    return()
  endif()
  set(ORVANE_PROGRAM ${target})
  set(ORVANE_PROGRAM_DESCRIPTION "${description}")
  set(ORVANE_ICON ${PROJECT_SOURCE_DIR}/resources/images/orvane.ico)
  set(ORVANE_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  set(templates ${PROJECT_SOURCE_DIR}/cmake/windows)
  configure_file(${templates}/program.manifest.in ${ORVANE_MANIFEST} @ONLY)
  configure_file(${templates}/program.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  # windres reports no dependencies: a changed icon or manifest rebuilds by this.
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES
    OBJECT_DEPENDS "${ORVANE_ICON};${ORVANE_MANIFEST}")
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()

# orvane_check_portable_engine()
# The engine (orvane_device) reaches this PC only through its interfaces, so
# it must link no operating system's code: fails the configure when a project
# target in its link closure has a platform file (*_linux.cpp, *_win.cpp).
# Called at the end of the top CMakeLists.txt, once every target is known.
function(orvane_check_portable_engine)
  set(pending orvane_device)
  set(seen)
  while(pending)
    list(POP_FRONT pending target)
    if(target IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${target})
    # Excepted: orvane_text converts characters with the C library's iconv
    # (Linux) or Win32's MultiByteToWideChar (Windows). Decoding what a device
    # sends in its code page needs them; they open no socket and write nothing.
    if(NOT target STREQUAL "orvane_text")
      get_target_property(sources ${target} SOURCES)
      foreach(source IN LISTS sources)
        if(source MATCHES "_(linux|win)\\.cpp$")
          message(FATAL_ERROR "orvane_device links ${target} (directly or not), "
            "whose ${source} is platform code; the engine links only portable "
            "targets (a *_core one; orvane_host_services is for the programs).")
        endif()
      endforeach()
    endif()
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(links ${target} ${property})
      foreach(link IN LISTS links)
        # A static library's private links reach its users as $<LINK_ONLY:x>.
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
        if(link MATCHES "^orvane_" AND TARGET ${link})
          list(APPEND pending ${link})
        endif()
      endforeach()
    endforeach()
  endwhile()
endfunction()
