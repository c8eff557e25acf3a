# Installation: the program folder as the programs expect it (executables beside the
# reference database, the help file and the example dataset) under /opt/frusta2, links in
# the prefix's bin folder, and the desktop entry, icons and notices under the prefix.
set(FRUSTA_INSTALL_PROGRAM_DIR "/opt/frusta2" CACHE PATH "Program folder of the installed programs")

set(_programs frusta2-cli)
if(TARGET frusta2)
  list(APPEND _programs frusta2)
endif()
install(TARGETS ${_programs} RUNTIME DESTINATION ${FRUSTA_INSTALL_PROGRAM_DIR})
install(FILES ${FRUSTA_PROGRAM_DIR}/FRUSTA2.sqlite ${FRUSTA_PROGRAM_DIR}/FRUSTA2.pdf
        DESTINATION ${FRUSTA_INSTALL_PROGRAM_DIR})
install(FILES ${FRUSTA_PROGRAM_DIR}/TestData/FRUSTA2TestData.xls
        DESTINATION ${FRUSTA_INSTALL_PROGRAM_DIR}/TestData)

# /usr/bin/frusta2 -> /opt/frusta2/frusta2: the programs find their folder through the link.
foreach(p ${_programs})
  install(CODE "
    set(_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${_bin}\")
    file(CREATE_LINK \"${FRUSTA_INSTALL_PROGRAM_DIR}/${p}\" \"\${_bin}/${p}\" SYMBOLIC)
    message(STATUS \"Installing: \${_bin}/${p} -> ${FRUSTA_INSTALL_PROGRAM_DIR}/${p}\")")
endforeach()

if(TARGET frusta2)
  install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/frusta2.desktop DESTINATION share/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/res/icons/frusta2.svg DESTINATION share/icons/hicolor/scalable/apps)
  foreach(size ${FRUSTA_ICON_SIZES})
    install(FILES ${FRUSTA_ICON_DIR}/${size}x${size}/frusta2.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION share/doc/frusta2)
