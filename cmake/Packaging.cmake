# The Windows packages, made by the target package-windows into <build>/dist:
#   Tarvendel-<version>-setup.exe     the installer (NSIS, installer/Tarvendel.nsi)
#   Tarvendel-<version>-portable.zip  Tarvendel.exe, README.txt and LICENSE.txt
# The target exists only when makensis and zip are found. With the tests on,
# under Wine, the test InstallerTests installs and uninstalls the setup program
# (tests/installer-test.sh).
#
# Run as a script, "cmake -DIN=<file> -DOUT=<file> -P Packaging.cmake" copies
# a text file with CR LF line ends, as Notepad wants them.
if(CMAKE_SCRIPT_MODE_FILE)
    file(READ "${IN}" text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${OUT}" "${text}")
    return()
endif()

if(NOT TARGET Tarvendel)
    return()
endif()

set(TARVENDEL_PACKAGING_SCRIPT ${CMAKE_CURRENT_LIST_FILE})
set(TARVENDEL_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
# The version resource has the version in its own numbers; packages that say
# one version of a program that says another would confuse every user.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/Version.rc)
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/Version.rc version_line
     REGEX "^#define TARVENDEL_VERSION_TEXT ")
if(NOT version_line MATCHES "\"${TARVENDEL_PACKAGE_VERSION}\\.0\\.0\"")
    message(FATAL_ERROR "resources/Version.rc (${version_line}) does not say version "
                        "${TARVENDEL_PACKAGE_VERSION}.0.0 of project(); change one of them.")
endif()

find_program(TARVENDEL_MAKENSIS makensis
             PATHS "$ENV{ProgramFiles}/NSIS" "$ENV{ProgramW6432}/NSIS" "C:/Program Files (x86)/NSIS")
find_program(TARVENDEL_ZIP zip)
if(NOT TARVENDEL_MAKENSIS OR NOT TARVENDEL_ZIP)
    message(STATUS "No package-windows target: it needs makensis (NSIS) and zip")
    return()
endif()

set(package_dist ${CMAKE_BINARY_DIR}/dist)
set(package_files ${CMAKE_BINARY_DIR}/package-files)
set(package_setup ${package_dist}/Tarvendel-${TARVENDEL_PACKAGE_VERSION}-setup.exe)
set(package_portable ${package_dist}/Tarvendel-${TARVENDEL_PACKAGE_VERSION}-portable.zip)
set(package_contents ${package_files}/Tarvendel.exe ${package_files}/README.txt
                     ${package_files}/LICENSE.txt)

add_custom_command(OUTPUT ${package_files}/Tarvendel.exe
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_files}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tarvendel> ${package_files}/Tarvendel.exe
    DEPENDS Tarvendel
    COMMENT "Collecting the files of the Windows packages")
function(tarvendel_package_text source target)
    add_custom_command(OUTPUT ${package_files}/${target}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${package_files}
        COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/${source}
                -DOUT=${package_files}/${target} -P ${TARVENDEL_PACKAGING_SCRIPT}
        DEPENDS ${PROJECT_SOURCE_DIR}/${source} ${TARVENDEL_PACKAGING_SCRIPT})
endfunction()
tarvendel_package_text(README.md README.txt)
tarvendel_package_text(LICENSE LICENSE.txt)

# makensis reads the paths as Windows paths where it runs on Windows.
file(TO_NATIVE_PATH ${package_files} nsis_files)
file(TO_NATIVE_PATH ${PROJECT_SOURCE_DIR}/resources/Tarvendel.ico nsis_icon)
file(TO_NATIVE_PATH ${package_setup} nsis_setup)
add_custom_command(OUTPUT ${package_setup}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_dist}
    # -V2: warnings and errors only; -WX: a warning fails the build, as in the code.
    COMMAND ${TARVENDEL_MAKENSIS} -V2 -WX -DVERSION=${TARVENDEL_PACKAGE_VERSION}
            -DFILES=${nsis_files} -DICON=${nsis_icon} -DOUTFILE=${nsis_setup}
            ${PROJECT_SOURCE_DIR}/installer/Tarvendel.nsi
    DEPENDS ${PROJECT_SOURCE_DIR}/installer/Tarvendel.nsi ${PROJECT_SOURCE_DIR}/resources/Tarvendel.ico
            ${package_contents}
    COMMENT "Making ${package_setup}")
add_custom_command(OUTPUT ${package_portable}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_dist}
    # zip adds to an existing archive; a file dropped from the list must go.
    COMMAND ${CMAKE_COMMAND} -E remove -f ${package_portable}
    COMMAND ${TARVENDEL_ZIP} -q -j -X ${package_portable} ${package_contents}
    DEPENDS ${package_contents}
    COMMENT "Making ${package_portable}")
add_custom_target(package-windows DEPENDS ${package_setup} ${package_portable})

# Wine runs the setup program in a prefix of its own, as scripts/wine-run.sh
# runs the test programs; the packages are made (when out of date) first.
if(TARVENDEL_BUILD_TESTS AND CMAKE_CROSSCOMPILING_EMULATOR AND CMAKE_HOST_UNIX)
    add_test(NAME InstallerPackages
             COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --config $<CONFIG>
                     --target package-windows)
    set_tests_properties(InstallerPackages PROPERTIES FIXTURES_SETUP windows-packages TIMEOUT 120)
    add_test(NAME InstallerTests
             COMMAND sh ${PROJECT_SOURCE_DIR}/tests/installer-test.sh ${package_dist}
                     $<TARGET_FILE:Tarvendel> ${TARVENDEL_PACKAGE_VERSION})
    set_tests_properties(InstallerTests PROPERTIES FIXTURES_REQUIRED windows-packages TIMEOUT 120)
endif()
