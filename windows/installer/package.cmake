# Builds one Tagwright MSI: wixl compiles Tagwright.wxs over the gathered
# files, then msibuild adds what wixl has no element for:
#   - the system PATH entry for the program's folder (the Environment table,
#     "=-*" = set on install, removed on uninstall, for the machine; [~];
#     appends to the PATH already there), with its two standard actions;
#   - the RemoveRegistry table: each key the registration script owns whole
#     (force_removed.txt) removed with everything below it on install ("-"),
#     before the rows are written, as DllRegisterServer replaces it; and a
#     Registry row "-" for each, which removes it whole on uninstall, as
#     DllUnregisterServer does;
#   - the upgrade row made inclusive of the package's own version (512, with
#     1 for the features' states; a key column, so deleted and added): the
#     installer compares only three fields of a version, and the project's
#     versions differ in the fourth too, so a package of the same three
#     replaces the one installed instead of installing beside it;
#   - the type library's component marked permanent (16), with its registry
#     key path (4), as DllUnregisterServer leaves the library registered.
# cmake -DWIXL= -DMSIBUILD= -DSOURCE= -DPACKAGE_DIR= -DVERSION= -DUPGRADE_CODE= -DROWS_DIR=
#       -DOUTPUT= -P package.cmake

get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
file(REMOVE ${OUTPUT})
# wixl takes the files' sources relative to where it runs, and the
# includes by name from an include folder (class_rows.wxi, typelib_rows.wxi).
execute_process(
  COMMAND ${WIXL} -a x86 -D Version=${VERSION} -D UpgradeCode=${UPGRADE_CODE} -D Stage=Tagwright
          -I ${ROWS_DIR}
          -D ClassRows=class_rows.wxi -D TypeLibraryRows=typelib_rows.wxi -o ${OUTPUT} ${SOURCE}
  WORKING_DIRECTORY ${PACKAGE_DIR}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS ${OUTPUT})
  message(FATAL_ERROR "wixl failed (${result})")
endif()

set(environment_table "CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)")
set(path_entry "INSERT INTO `Environment` (`Environment`, `Name`, `Value`, `Component_`) VALUES ('TagwrightPath', '=-*PATH', '[~];[INSTALLDIR]', 'TagwrightExeComponent')")
set(sequence "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES")
# Quoted one by one: a query's ; must not split it as a CMake list would.
execute_process(
  COMMAND ${MSIBUILD} ${OUTPUT} -q "${environment_table}" -q "${path_entry}"
          -q "${sequence} ('RemoveEnvironmentStrings', 3300)"
          -q "${sequence} ('WriteEnvironmentStrings', 5200)"
          -q "UPDATE `Component` SET `Attributes` = 20 WHERE `Component` = 'TypeLibraryRegistration'"
          -q "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'"
          -q "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) VALUES ('{${UPGRADE_CODE}}', '${VERSION}', 513, 'WIX_UPGRADE_DETECTED')"
  RESULT_VARIABLE result)
if(result EQUAL 0)
  file(STRINGS ${ROWS_DIR}/force_removed.txt owned_keys)
  set(removals -q "CREATE TABLE `RemoveRegistry` (`RemoveRegistry` CHAR(72) NOT NULL, `Root` SHORT NOT NULL, `Key` CHAR(255) NOT NULL LOCALIZABLE, `Name` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `RemoveRegistry`)")
  set(index 0)
  foreach(key IN LISTS owned_keys)
    math(EXPR index "${index} + 1")
    list(APPEND removals
      -q "INSERT INTO `RemoveRegistry` (`RemoveRegistry`, `Root`, `Key`, `Name`, `Component_`) VALUES ('OwnedKey${index}', 0, '${key}', '-', 'ClassRegistration')"
      -q "INSERT INTO `Registry` (`Registry`, `Root`, `Key`, `Name`, `Component_`) VALUES ('OwnedKeyTree${index}', 0, '${key}', '-', 'ClassRegistration')")
  endforeach()
  execute_process(COMMAND ${MSIBUILD} ${OUTPUT} ${removals} RESULT_VARIABLE result)
endif()
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "msibuild failed (${result})")
endif()
