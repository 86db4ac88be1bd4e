        INCLUDE tool_include_lib.qasm
        INCLUDE tool_include_lib.qasm
        HALT
