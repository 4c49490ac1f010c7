# The table of effects turned into its array: numbers reach the floats as
# written, layers are counted, and a bad table stops the build at its line.
# Run by ctest: cmake -DGENERADOR=tabla_efectos.cmake -DTRABAJO=folder -P this file.

set(fallos 0)

# generar(TEXTO salida error): runs the generator on a table holding TEXTO.
function(generar texto salida error)
  file(WRITE ${TRABAJO}/prueba.tabla "${texto}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DENTRADA=${TRABAJO}/prueba.tabla
                          -DSALIDA=${TRABAJO}/prueba.h -P ${GENERADOR}
                  RESULT_VARIABLE r ERROR_VARIABLE e OUTPUT_QUIET)
  # CMake folds a long message over lines
  string(REGEX REPLACE "[ \t\n]+" " " e "${e}")
  set(${error} "${e}" PARENT_SCOPE)
  if(r EQUAL 0)
    file(READ ${TRABAJO}/prueba.h h)
    set(${salida} "${h}" PARENT_SCOPE)
  else()
    set(${salida} "" PARENT_SCOPE)
  endif()
  file(REMOVE ${TRABAJO}/prueba.h)
endfunction()

macro(fallo texto)
  message(SEND_ERROR "${texto}")
  math(EXPR fallos "${fallos} + 1")
endmacro()

file(MAKE_DIRECTORY ${TRABAJO})

# two effects, comments and blank lines between them, a ';' in a comment
generar([=[
# a comment; with a semicolon
"uno" 0.25 0.5   # trailing words
    square 0.0 0.16 1800.0 260.0 0.002 0.060 0.60 0.0 0.0

	"dos y tres"	1.0 0.75
    noise -0.5 0.03 6000.0 2000.0 0.001 0.010 0.30 6.0 0.012
    triangle 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9
]=] h e)
if(NOT h MATCHES "kEfectos\\[2\\]")
  fallo("two effects make an array of two: ${e}")
endif()
string(FIND "${h}" [[{"uno", 0.25f, 0.5f, 1, {
        {ZK_WAVE_SQUARE, 0.0f, 0.16f, 1800.0f, 260.0f, 0.002f, 0.060f, 0.60f, 0.0f, 0.0f},
    }},]] uno)
if(uno EQUAL -1)
  fallo("the first effect as written:\n${h}")
endif()
string(FIND "${h}" [[{"dos y tres", 1.0f, 0.75f, 2, {
        {ZK_WAVE_NOISE, -0.5f, 0.03f, 6000.0f, 2000.0f, 0.001f, 0.010f, 0.30f, 6.0f, 0.012f},
        {ZK_WAVE_TRIANGLE, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f},
    }},]] dos)
if(dos EQUAL -1)
  fallo("the second effect, its name with spaces, as written:\n${h}")
endif()

# each bad table: what it holds, and what the message must say
set(malas
  "\"a\" 0.1 0.2\n  square 0.0 0.1 1.0 1.0 0.1 0.1 0.5 0.0\n|prueba.tabla:2: a layer is a wave and 9 numbers, not 8"
  "\"a\" 0.1 0.2\n  buzz 0.0 0.1 1.0 1.0 0.1 0.1 0.5 0.0 0.0\n|prueba.tabla:2: 'buzz' is no wave"
  "\"a\" 0.1 0.2\n  sine 0 0.1 1.0 1.0 0.1 0.1 0.5 0.0 0.0\n|prueba.tabla:2: '0' is not a number with a decimal point"
  "\"a\" 0.1 2\n  sine 0.0 0.1 1.0 1.0 0.1 0.1 0.5 0.0 0.0\n|prueba.tabla:1: '2' is not a number"
  "  sine 0.0 0.1 1.0 1.0 0.1 0.1 0.5 0.0 0.0\n|prueba.tabla:1: a layer before any effect"
  "\"a\" 0.1 0.2\n\"b\" 0.1 0.2\n  sine 0.0 0.1 1.0 1.0 0.1 0.1 0.5 0.0 0.0\n|prueba.tabla:1: an effect without layers"
  "\"a\" 0.1\n|prueba.tabla:1: an effect is a name in quotes"
  "# nothing\n|no effects")
set(cinco "")
foreach(i RANGE 1 5)
  string(APPEND cinco "  saw 0.0 0.1 1.0 1.0 0.1 0.1 0.5 0.0 0.0\n")
endforeach()
list(APPEND malas "\"a\" 0.1 0.2\n${cinco}|prueba.tabla:6: more than 4 layers")
foreach(mala IN LISTS malas)
  string(FIND "${mala}" "|" corte REVERSE)
  string(SUBSTRING "${mala}" 0 ${corte} texto)
  math(EXPR corte "${corte} + 1")
  string(SUBSTRING "${mala}" ${corte} -1 mensaje)
  generar("${texto}" h e)
  string(FIND "${e}" "${mensaje}" donde)
  if(NOT h STREQUAL "" OR donde EQUAL -1)
    fallo("refused with \"${mensaje}\", not:\n${e}")
  endif()
endforeach()

file(REMOVE_RECURSE ${TRABAJO})
if(fallos GREATER 0)
  message(FATAL_ERROR "${fallos} checks failed")
endif()
