# Programs as images the simulation loads once per process: shared objects whose globals are
# private to each load.

include(${CMAKE_CURRENT_LIST_DIR}/WindowsCE.cmake)

# The image of one program, put in OUTPUT_DIR.
function(_add_program_image NAME OUTPUT_DIR)
  add_library(${NAME} MODULE ${ARGN})
  target_include_directories(${NAME} PRIVATE ${PROJECT_SOURCE_DIR}/sim/include ${PROJECT_SOURCE_DIR}/sim/include/ce)
  # Hidden symbols and no unique globals: no loaded copy may bind to another copy's globals.
  target_compile_options(${NAME} PRIVATE -fvisibility=hidden $<$<CXX_COMPILER_ID:GNU>:-fno-gnu-unique>)
  target_link_libraries(${NAME} PRIVATE pocketplatform)
  set_target_properties(${NAME} PROPERTIES PREFIX "" SUFFIX ".image" LIBRARY_OUTPUT_DIRECTORY ${OUTPUT_DIR})
endfunction()

# add_desktop_program(NAME SOURCES <files>)
#
# A desktop Win32 program (8-bit strings, no resources), for simulated desktop machines.
function(add_desktop_program NAME)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  _add_program_image(${NAME} ${POCKET_IMAGE_DIR}/desktop ${ARG_SOURCES})
endfunction()

# add_device_program(NAME SOURCES <files> RC <script> [ICONS <pixel-art files>] [WCE <version>])
#
# A Windows CE program (16-bit strings; WCE is its _WIN32_WCE, 0x420 by default), plus the .res
# that windres compiles from its script.
function(add_device_program NAME)
  cmake_parse_arguments(ARG "" "RC;WCE" "SOURCES;ICONS" ${ARGN})
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/generated)
  file(MAKE_DIRECTORY ${gen})

  set(icon_files)
  foreach(art ${ARG_ICONS})
    get_filename_component(stem ${art} NAME_WE)
    set(ico ${gen}/${stem}.ico)
    add_custom_command(OUTPUT ${ico}
      COMMAND icongen ${CMAKE_CURRENT_SOURCE_DIR}/${art} ${ico}
      DEPENDS icongen ${CMAKE_CURRENT_SOURCE_DIR}/${art}
      COMMENT "Drawing ${stem}.ico")
    list(APPEND icon_files ${ico})
  endforeach()

  set(res ${POCKET_IMAGE_DIR}/${NAME}.res)
  add_custom_command(OUTPUT ${res}
    COMMAND ${WINDRES} --preprocessor=cpp --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED
            -I ${CMAKE_CURRENT_SOURCE_DIR} -I ${gen} -I ${PROJECT_SOURCE_DIR}/sim/include
            -I ${PROJECT_SOURCE_DIR}/sim/include/ce
            -O res -i ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_RC} -o ${res}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_RC} ${icon_files}
    IMPLICIT_DEPENDS C ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_RC}
    COMMENT "Compiling ${NAME} resources")
  add_custom_target(${NAME}_res DEPENDS ${res})

  _add_program_image(${NAME} ${POCKET_IMAGE_DIR} ${ARG_SOURCES})
  windows_ce_definitions(${NAME} "${ARG_WCE}")
  add_dependencies(${NAME} ${NAME}_res)
  set_property(GLOBAL APPEND PROPERTY POCKET_DEVICE_PROGRAMS ${NAME})
endfunction()

# add_device_program_mutant(NAME FROM <program> SOURCE <file> FIND <text> REPLACE <text>
#                           [OTHER_SOURCES <files>])
#
# A deliberately broken copy of a device program, for tests that show a fault of that kind is
# caught: SOURCE with FIND replaced by REPLACE (which must occur exactly once), built as
# mutants/NAME.image with FROM's resources. Not installed with the others.
function(add_device_program_mutant NAME)
  cmake_parse_arguments(ARG "" "FROM;SOURCE;FIND;REPLACE" "OTHER_SOURCES" ${ARGN})
  file(READ ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SOURCE} text)
  string(FIND "${text}" "${ARG_FIND}" first)
  string(FIND "${text}" "${ARG_FIND}" last REVERSE)
  if(first EQUAL -1 OR NOT first EQUAL last)
    message(FATAL_ERROR "${NAME}: the text to replace must occur once in ${ARG_SOURCE}")
  endif()
  string(REPLACE "${ARG_FIND}" "${ARG_REPLACE}" text "${text}")
  set(mutated ${CMAKE_CURRENT_BINARY_DIR}/mutants/${NAME}/${ARG_SOURCE})
  file(WRITE ${mutated} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SOURCE})
  list(TRANSFORM ARG_OTHER_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  _add_program_image(${NAME} ${CMAKE_BINARY_DIR}/mutants ${mutated} ${ARG_OTHER_SOURCES})
  target_include_directories(${NAME} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  windows_ce_definitions(${NAME} "")
  add_dependencies(${NAME} ${ARG_FROM}_res)
endfunction()
