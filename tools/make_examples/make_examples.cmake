# Makes the browsers' example pictures (cmake -P). Variables: CONVERT (the
# ImageMagick convert program), SAMPLE (the bundled sample picture), MAKER
# (the make_examples program), WORK (scratch folder), OUT (the Examples
# folder), STAMP (file touched on success).
foreach(var CONVERT SAMPLE MAKER WORK OUT STAMP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make_examples.cmake needs ${var}")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    list(JOIN ARGN " " line)
    message(FATAL_ERROR "${line} failed (${result}): ${error}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/effects ${OUT})
# The browser-sized sample: 160 x 120, the middle of the picture filled in.
run(${CONVERT} ${SAMPLE} -resize 160x120^ -gravity center -extent 160x120 -strip -depth 8
    PPM:${WORK}/basic.ppm)
run(${CONVERT} ${WORK}/basic.ppm -strip -quality 90 ${OUT}/Basic.jpg)
run(${MAKER} ${WORK}/basic.ppm ${WORK}/effects)
file(GLOB made ${WORK}/effects/*.ppm)
foreach(ppm ${made})
  get_filename_component(name ${ppm} NAME)
  string(REGEX REPLACE "\\.ppm$" "" name ${name})
  run(${CONVERT} ${ppm} -strip -quality 90 ${OUT}/${name})
endforeach()
file(TOUCH ${STAMP})
