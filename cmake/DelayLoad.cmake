# The system DLLs are loaded only when first called: a start from the Windows
# start-up list that finds nothing to show reads its settings through kernel32
# and loads nothing more than an empty program does. COM and its
# automation library are needed only when Setup switches "Run at startup", the
# common dialogs only for the list's calendar-file commands.
#
# tarvendel_link_system_dlls(target) links the program's system DLLs to target,
# delay-loaded where the toolchain can, normally otherwise.
set(TARVENDEL_DELAYED_DLLS user32 gdi32 shell32 ole32 oleaut32 comctl32 comdlg32 advapi32)

function(tarvendel_make_delay_lib name out)
    find_library(import_${name} NAMES lib${name}.a ${name}.lib ${name})
    if(NOT import_${name} OR NOT CMAKE_NM OR NOT CMAKE_DLLTOOL)
        set(${out} "" PARENT_SCOPE)
        return()
    endif()
    set(delay_lib ${CMAKE_BINARY_DIR}/delayload/lib${name}_delay.a)
    if(NOT EXISTS ${delay_lib})
        execute_process(COMMAND ${CMAKE_NM} ${import_${name}} OUTPUT_VARIABLE symbols
                        ERROR_QUIET RESULT_VARIABLE nm_result)
        string(REGEX MATCHALL "__imp_[A-Za-z0-9_@?]+" imports "${symbols}")
        list(REMOVE_DUPLICATES imports)
        list(TRANSFORM imports REPLACE "^__imp_" "")
        list(JOIN imports "\n" exports)
        file(WRITE ${CMAKE_BINARY_DIR}/delayload/${name}.def "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
        execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${CMAKE_BINARY_DIR}/delayload/${name}.def
                                --output-delaylib ${delay_lib} --dllname ${name}.dll
                        RESULT_VARIABLE dlltool_result)
        if(NOT nm_result EQUAL 0 OR NOT dlltool_result EQUAL 0)
            file(REMOVE ${delay_lib})
            set(${out} "" PARENT_SCOPE)
            return()
        endif()
    endif()
    set(${out} ${delay_lib} PARENT_SCOPE)
endfunction()

function(tarvendel_link_system_dlls target)
    if(MSVC)
        target_link_libraries(${target} PRIVATE ${TARVENDEL_DELAYED_DLLS} delayimp)
        foreach(dll ${TARVENDEL_DELAYED_DLLS})
            target_link_options(${target} PRIVATE /DELAYLOAD:${dll}.dll)
        endforeach()
        return()
    endif()
    set(libs "")
    foreach(dll ${TARVENDEL_DELAYED_DLLS})
        tarvendel_make_delay_lib(${dll} delay_lib)
        if(delay_lib)
            list(APPEND libs ${delay_lib})
        else()
            list(APPEND libs ${dll})
        endif()
    endforeach()
    target_link_libraries(${target} PRIVATE ${libs} delayimp)
endfunction()
