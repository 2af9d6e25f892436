# Fills the application folder with the installation data: a file is copied only when the
# folder does not have it yet, so the settings, tables and projects the program keeps there
# are never overwritten by a build.
# cmake -DFROM=data -DTO=folder -P copydata.cmake
file(GLOB_RECURSE files RELATIVE "${FROM}" "${FROM}/*")
list(FILTER files EXCLUDE REGEX "\\.md$")
foreach(f IN LISTS files)
  if(NOT EXISTS "${TO}/${f}")
    get_filename_component(dir "${TO}/${f}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    file(COPY_FILE "${FROM}/${f}" "${TO}/${f}")
  endif()
endforeach()
file(MAKE_DIRECTORY "${TO}/data/domains/projects")
