; includes a library with an error
        HALT
        INCLUDE tool_include_lib.qasm
