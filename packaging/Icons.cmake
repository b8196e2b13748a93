# The icon sizes desktops ask a theme for; each is rendered from the SVG when building.
set(QUINTABELL_ICON_SIZES 16 22 24 32 48 64 128 256)

# Installs `svg` as icon `name` of the hicolor theme's `context` (apps, mimetypes): the SVG
# itself and a PNG of every size. `files` receives the PNGs, for a target to build them.
function(quintabell_icon svg context name files)
  cmake_path(ABSOLUTE_PATH svg BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  set(pngs)
  foreach(size IN LISTS QUINTABELL_ICON_SIZES)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/${context})
    add_custom_command(OUTPUT ${folder}/${name}.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${folder}/${name}.png
              ${svg}
      DEPENDS ${svg}
      VERBATIM)
    install(FILES ${folder}/${name}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/${context})
    list(APPEND pngs ${folder}/${name}.png)
  endforeach()
  install(FILES ${svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/${context}
          RENAME ${name}.svg)
  set(${files} ${pngs} PARENT_SCOPE)
endfunction()
