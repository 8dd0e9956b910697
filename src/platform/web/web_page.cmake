# The browser page: demovar_web_page(TARGET) builds TARGET as TARGET.js +
# TARGET.wasm + TARGET.data (the data directory, both starting points) into one
# static folder, web/ in the build directory, beside our own index.html and
# page.js. Emscripten's own page needs its HTML minifier, which Debian's package
# lacks, and its ports (SDL2, FreeType) are downloaded at build time: neither is
# used.
function(demovar_web_page target)
  set(DEMOVAR_WEB_DIR ${CMAKE_BINARY_DIR}/web)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DEMOVAR_WEB_DIR})
  foreach(file index.html page.js)
    configure_file(${PROJECT_SOURCE_DIR}/src/platform/web/${file} ${DEMOVAR_WEB_DIR}/${file} COPYONLY)
  endforeach()
  file(GLOB_RECURSE data CONFIGURE_DEPENDS ${DEMOVAR_DATA_DIR}/*)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${data})
  target_link_options(${target} PRIVATE
    -sASYNCIFY -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sFORCE_FILESYSTEM=1 -lidbfs.js
    -sEXIT_RUNTIME=0 "-sEXPORTED_RUNTIME_METHODS=[FS,addRunDependency,removeRunDependency]"
    # What the program writes is not shipped, only what it reads.
    "SHELL:--preload-file ${DEMOVAR_DATA_DIR}@/data"
    "SHELL:--exclude-file *.log" "SHELL:--exclude-file *.sav" "SHELL:--exclude-file vkshot*"
    "SHELL:--exclude-file *.csv" "SHELL:--exclude-file vk_start.ini")
endfunction()
