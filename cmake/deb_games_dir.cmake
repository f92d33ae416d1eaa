# Run by CPack on the .deb's staging tree: Debian keeps games' commands in
# /usr/games, where a plain install into a prefix uses bin/. The link's target,
# ../lib/vantorix/vantorix, is the same from either folder.
set(staging ${CPACK_TEMPORARY_DIRECTORY}/usr)
if(EXISTS ${staging}/bin)
  file(RENAME ${staging}/bin ${staging}/games)
endif()
