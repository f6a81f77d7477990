# Copies each file of FILES that exists into DEST.
foreach(f IN LISTS FILES)
  if(EXISTS "${f}")
    file(COPY "${f}" DESTINATION "${DEST}")
  endif()
endforeach()
