        HALT
        INCLUDE tool_no_such_file.qasm
