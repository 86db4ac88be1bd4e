INCLUDE main.qasm
