# Copies the files of the seed folders (FOLDERS, separated by "|") into DEST,
# emptied first, and makes the artifact folder ARTIFACTS. Folders that do not
# exist are left out: without a corpus the fuzzer starts from nothing.
string(REPLACE "|" ";" folders "${FOLDERS}")
file(REMOVE_RECURSE ${DEST})
file(MAKE_DIRECTORY ${DEST} ${ARTIFACTS})
foreach(folder IN LISTS folders)
  if(IS_DIRECTORY ${folder})
    file(GLOB seeds LIST_DIRECTORIES false ${folder}/*)
    file(COPY ${seeds} DESTINATION ${DEST})
  endif()
endforeach()
