# Database and software updates, cabinet extraction and the restart program.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MSPACK REQUIRED IMPORTED_TARGET libmspack)
find_package(OpenSSL REQUIRED COMPONENTS Crypto)

# The publisher's Ed25519 public key (64 hexadecimal digits): the only key the program
# trusts for update archives. A release build sets the publisher's own key here.
set(QS_UPDATE_PUBLIC_KEY "8e1c99a02f9fc603b226245655eb47b03124c6f1a4429d844a93f3445a00277f"
    CACHE STRING "Ed25519 public key that signs the update archives (hexadecimal)")

target_sources(summit_core PRIVATE
  platform/cabfile.cpp
  platform/signature.cpp
  engines/updateinfo.cpp
  engines/updatetree.cpp
  engines/databaseupdate.cpp
  engines/restart.cpp)
set_source_files_properties(platform/signature.cpp PROPERTIES
  COMPILE_DEFINITIONS "QS_UPDATE_PUBLIC_KEY=\"${QS_UPDATE_PUBLIC_KEY}\"")
target_link_libraries(summit_core PUBLIC PkgConfig::MSPACK OpenSSL::Crypto)

target_sources(summit_cli PRIVATE cli/updatecommand.cpp)

# The restart program installs a downloaded software update; it lies beside the program.
add_executable(quorvex-restart app/restartmain.cpp)
target_link_libraries(quorvex-restart PRIVATE summit_core)
set_target_properties(quorvex-restart PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QS_APP_DIR})
install(TARGETS quorvex-restart RUNTIME DESTINATION bin)
# Whatever builds the program builds the restart program beside it.
cmake_language(DEFER CALL add_dependencies quorvex-summit quorvex-restart)
