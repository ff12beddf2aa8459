# CPack's External generator: the staged program folder made into the NSIS
# installer zentrel-<version>-setup.exe by installer.nsi. The uninstaller
# removes exactly the files installed, listed here.
set(stage "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE files RELATIVE "${stage}" "${stage}/*")
set(install_list "")
set(uninstall_list "")
set(dirs "")
foreach(f ${files})
  string(REPLACE "/" "\\" win "${f}")
  get_filename_component(dir "${f}" DIRECTORY)
  string(REPLACE "/" "\\" windir "${dir}")
  string(APPEND install_list "  SetOutPath \"$INSTDIR\\${windir}\"\n  File \"${stage}/${f}\"\n")
  string(APPEND uninstall_list "  Delete \"$INSTDIR\\${win}\"\n")
  if(dir)
    list(APPEND dirs "${windir}")
  endif()
endforeach()
list(REMOVE_DUPLICATES dirs)
list(SORT dirs ORDER DESCENDING)  # inner folders first
foreach(d ${dirs})
  string(APPEND uninstall_list "  RMDir \"$INSTDIR\\${d}\"\n")
endforeach()
set(work "${CPACK_TOPLEVEL_DIRECTORY}/nsis")
file(MAKE_DIRECTORY "${work}")
file(WRITE "${work}/install_files.nsh" "${install_list}")
file(WRITE "${work}/uninstall_files.nsh" "${uninstall_list}")
set(out "${CPACK_PACKAGE_DIRECTORY}/zentrel-${ZENTREL_VERSION}-setup.exe")
execute_process(
  COMMAND "${ZENTREL_MAKENSIS}" -V2 -NOCD
    "-DVERSION=${ZENTREL_VERSION}" "-DOUTFILE=${out}" "-DFILES=${work}/install_files.nsh"
    "-DUNFILES=${work}/uninstall_files.nsh" "-DMARKER=${ZENTREL_INSTALL_MARKER}" "-DICON=${ZENTREL_ICO}"
    "${ZENTREL_NSIS_SCRIPT}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "makensis failed (${result})")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES "${out}")
