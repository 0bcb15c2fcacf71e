# Run by CPack on the staged tree before it packs it: removes the compilers' .comment
# section from the stripped binary, as Debian's dh_strip does (strip alone keeps it).
find_program(OBJCOPY objcopy REQUIRED)
file(GLOB binaries "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
foreach(binary IN LISTS binaries)
  execute_process(COMMAND ${OBJCOPY} --remove-section=.comment --remove-section=.note ${binary}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
