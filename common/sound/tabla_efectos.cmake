# A game's sound effects are written as a table of text (its sonidos.tabla)
# and turned into the zk_effect_t array the game hands to zk_sound_open here,
# in one place for both games: at build time, so nothing is read at run time.
#
# The table: '#' starts a comment; an effect is a line with its name in
# quotes, its length in seconds and its peak; each line under it is one of its
# layers (ZK_SOUND_LAYERS at most), a wave name (sine, square, saw, triangle,
# noise) and the nine numbers of zk_layer_t in their order. Every number is
# written with a decimal point, so that it reaches the float as written.
#
# Included, it defines zk_sound_table; run with cmake -P, it makes the header.

if(NOT CMAKE_SCRIPT_MODE_FILE)
  # zk_sound_table(target table): the target's sources may include
  # "efectos_tabla.h", which defines the effects of `table` as kEfectos.
  function(zk_sound_table target table)
    set(entrada ${CMAKE_CURRENT_SOURCE_DIR}/${table})
    set(carpeta ${CMAKE_CURRENT_BINARY_DIR}/efectos_${target})
    set(salida ${carpeta}/efectos_tabla.h)
    set(script ${PROJECT_SOURCE_DIR}/common/sound/tabla_efectos.cmake)
    add_custom_command(OUTPUT ${salida}
      COMMAND ${CMAKE_COMMAND} -DENTRADA=${entrada} -DSALIDA=${salida} -P ${script}
      DEPENDS ${entrada} ${script}
      COMMENT "Sound effects of ${target} from ${table}")
    target_sources(${target} PRIVATE ${salida})
    target_include_directories(${target} PRIVATE ${carpeta})
  endfunction()
  return()
endif()

# --- script mode: ENTRADA, the table; SALIDA, the header to write ---
if(NOT ENTRADA OR NOT SALIDA)
  message(FATAL_ERROR "usage: cmake -DENTRADA=table -DSALIDA=header -P tabla_efectos.cmake")
endif()
set(kCapas 4) # ZK_SOUND_LAYERS
set(kNumero "^-?[0-9]+\\.[0-9]+$")

function(fallar numero texto)
  message(FATAL_ERROR "${ENTRADA}:${numero}: ${texto}")
endfunction()

file(READ ${ENTRADA} texto)
# a ';' would part a CMake list: comments may hold one, and as a ',' it does
# no harm there (anywhere else the line is refused all the same)
string(REPLACE ";" "," texto "${texto}")
string(REPLACE "\n" ";" lineas "${texto}")

set(efectos "")    # what is done of the array
set(efecto "")     # the effect being read, without its layers
set(capas "")      # and its layers
set(numCapas 0)
set(numEfectos 0)
set(numero 0)

# Closes the effect being read onto the array.
macro(cerrar_efecto)
  if(NOT efecto STREQUAL "")
    if(numCapas EQUAL 0)
      fallar(${lineaEfecto} "an effect without layers")
    endif()
    string(APPEND efectos "    {${efecto}, ${numCapas}, {\n${capas}    }},\n")
    math(EXPR numEfectos "${numEfectos} + 1")
  endif()
  set(efecto "")
  set(capas "")
  set(numCapas 0)
endmacro()

foreach(linea IN LISTS lineas)
  math(EXPR numero "${numero} + 1")
  string(REGEX REPLACE "#.*$" "" linea "${linea}")
  string(STRIP "${linea}" linea)
  if(linea STREQUAL "")
    continue()
  endif()
  if(linea MATCHES "^\"([^\"]+)\"[ \t]+([^ \t]+)[ \t]+([^ \t]+)$")
    cerrar_efecto()
    set(nombre "${CMAKE_MATCH_1}")
    set(cifras "${CMAKE_MATCH_2};${CMAKE_MATCH_3}")
    set(efecto "\"${nombre}\"")
    set(lineaEfecto ${numero})
  elseif(linea MATCHES "^\"")
    fallar(${numero} "an effect is a name in quotes, a length and a peak")
  else()
    if(efecto STREQUAL "")
      fallar(${numero} "a layer before any effect")
    endif()
    string(REGEX REPLACE "[ \t]+" ";" cifras "${linea}")
    list(POP_FRONT cifras onda)
    if(NOT onda MATCHES "^(sine|square|saw|triangle|noise)$")
      fallar(${numero} "'${onda}' is no wave (sine, square, saw, triangle, noise)")
    endif()
    list(LENGTH cifras n)
    if(NOT n EQUAL 9)
      fallar(${numero} "a layer is a wave and 9 numbers, not ${n}")
    endif()
    math(EXPR numCapas "${numCapas} + 1")
    if(numCapas GREATER kCapas)
      fallar(${numero} "more than ${kCapas} layers in one effect")
    endif()
  endif()
  # every number as the float literal it is written as
  set(literales "")
  foreach(cifra IN LISTS cifras)
    if(NOT cifra MATCHES "${kNumero}")
      fallar(${numero} "'${cifra}' is not a number with a decimal point")
    endif()
    string(APPEND literales ", ${cifra}f")
  endforeach()
  if(DEFINED onda)
    string(TOUPPER "${onda}" onda)
    string(APPEND capas "        {ZK_WAVE_${onda}${literales}},\n")
    unset(onda)
  else()
    string(APPEND efecto "${literales}")
  endif()
endforeach()
cerrar_efecto()
if(numEfectos EQUAL 0)
  fallar(${numero} "no effects")
endif()

get_filename_component(nombreTabla ${ENTRADA} NAME)
file(WRITE ${SALIDA}
  "// Made from ${nombreTabla} by tabla_efectos.cmake at build time: edit the table.\n"
  "#pragma once\n\n#include \"synth.h\"\n\n"
  "static const zk_effect_t kEfectos[${numEfectos}] = {\n${efectos}};\n")
