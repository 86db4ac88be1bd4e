# Qt Test executables for the windows; each is registered with CTest here.
