# fc_add_test(<name> SOURCES <files...> LIBS <libs...> [X11] [LABELS <labels...>])
#
# Registers one test executable with CTest. Widget tests run on Qt's offscreen
# platform unless X11 is given, in which case they need a real X server (the
# test script runs ctest under Xvfb) and are labelled "x11".
function(fc_add_test name)
  cmake_parse_arguments(ARG "X11" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  fc_set_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set(env ${ARG_ENV})
  set(labels ${ARG_LABELS})
  if(ARG_X11)
    list(APPEND env "QT_QPA_PLATFORM=xcb")
    list(APPEND labels x11)
  elseif(NOT "${ARG_ENV}" MATCHES "QT_QPA_PLATFORM=")
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${env}"
    LABELS "${labels}"
    TIMEOUT ${ARG_TIMEOUT})
endfunction()
