# What a Windows CE compiler defines for a program built for version WCE (0x420 when empty); the
# simulation's image builds and the build against the desktop's headers define the same.
function(windows_ce_definitions TARGET WCE)
  if(NOT WCE)
    set(WCE 0x420)
  endif()
  target_compile_definitions(${TARGET} PRIVATE UNDER_CE=${WCE} _WIN32_WCE=${WCE})
endfunction()
