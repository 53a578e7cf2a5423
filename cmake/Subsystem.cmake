# ostrel_subsystem(NAME [DEPS lib...] [QT])
# Builds the sources of the calling folder into one static library. Backend sources live in
# folders beside the shared ones and are picked here, so shared code needs no #ifdef:
#   posix/  the POSIX system calls (Linux)
#   qt/     what Qt provides on Linux (drawing, fonts, the notification window, sound, locale)
#   win32/  the Win32 API, which provides all of those on Windows
# QT links Qt privately, on Linux only: only platform/ and framework/ may name it.
function(ostrel_subsystem name)
  cmake_parse_arguments(S "QT" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(WIN32)
    file(GLOB os_srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.h)
  else()
    file(GLOB os_srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/posix/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/posix/*.h
         ${CMAKE_CURRENT_SOURCE_DIR}/qt/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/qt/*.h)
  endif()
  if(NOT srcs AND NOT os_srcs)
    # A subsystem that has no code yet still exists for those that name it.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    return()
  endif()
  add_library(${name} STATIC ${srcs} ${os_srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${S_DEPS} Threads::Threads)
  if(S_QT AND NOT WIN32)
    target_link_libraries(${name} PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets)
  endif()
endfunction()
