# FC_SANITIZE: "address;undefined", "thread" or empty. Applied to every target
# configured after this module is included, tests and the program alike.
set(FC_SANITIZE "" CACHE STRING "Sanitizers to build with (address;undefined or thread)")

if(FC_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "FC_SANITIZE is only supported with GCC or Clang")
  endif()
  list(JOIN FC_SANITIZE "," _fc_sanitizers)
  set(_fc_flags -fsanitize=${_fc_sanitizers} -fno-omit-frame-pointer -g)
  if("undefined" IN_LIST FC_SANITIZE)
    list(APPEND _fc_flags -fno-sanitize-recover=undefined)
  endif()
  add_compile_options(${_fc_flags})
  add_link_options(-fsanitize=${_fc_sanitizers})
  message(STATUS "Sanitizers: ${_fc_sanitizers}")
endif()
