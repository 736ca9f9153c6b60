# fc_set_warnings(<target>): the project's warning set; FC_WERROR turns them into errors.
option(FC_WERROR "Treat compiler warnings as errors" OFF)

function(fc_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /utf-8 $<$<BOOL:${FC_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
      $<$<BOOL:${FC_WERROR}>:-Werror>)
  endif()
endfunction()
