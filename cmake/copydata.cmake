# Copies the installation data into the application folder, file by file, only where the
# file differs, so what the program wrote there is left alone.
# cmake -DFROM=data -DTO=folder -P copydata.cmake
file(GLOB_RECURSE files RELATIVE "${FROM}" "${FROM}/*")
foreach(f IN LISTS files)
  get_filename_component(dir "${TO}/${f}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${FROM}/${f}" "${TO}/${f}" ONLY_IF_DIFFERENT)
endforeach()
file(MAKE_DIRECTORY "${TO}/data/domains/projects")
