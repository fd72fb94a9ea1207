#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus (fuzz/corpus): a few call sequences a host makes, in the byte
code that flat_calls_fuzzer.cpp reads. Rerun after changing the opcodes or the word lists."""
import os
import struct

OPS = ["OpenConnection", "CloseConnection", "GetError", "TestMarshaling", "ExecuteQuery",
       "PrepareQuery", "Execute", "NextRow", "SetIntSessionProperty", "SetMaxParSize",
       "SetMaxIterations", "AddIteration", "SetNull", "SetString", "SetInt", "SetFloat",
       "SetDouble", "SetTimestamp", "StreamParameterToLob", "StreamParameterToLobLast",
       "GetMetaData", "GetColumnsCount", "GetColumnName", "GetColumnSchemaName",
       "GetColumnTableName", "GetColumnTypeName", "GetColumnType", "GetColumnSize",
       "GetColumnScale", "GetColumnPrecision", "GetColumnIsAutoincremented",
       "GetColumnIsReadOnly", "GetColumnIsDbGenerated", "GetColumnIsNullable", "GetString",
       "GetByteArray", "GetInteger", "GetFloat", "GetDouble"]
SQL = {"create": 0, "insert": 1, "insert n s": 2, "insert b c": 3, "insert n d f": 4,
       "select": 5, "select where": 6, "dual": 7, "literals": 8, "rowid": 9, "functions": 10,
       "update": 11, "delete": 12, "commit": 13, "rollback": 14, "drop": 15, "count": 17,
       "missing table": 19, "create u": 20, "select u": 21, "insert u": 22}
S0 = 0  # session slot 0


def op(name, *args):
    return bytes([OPS.index(name)]) + b"".join(args)


def b(value):
    return bytes([value & 0xFF])


def small(value):  # a number argument read as one signed byte
    return b(1) + b(value)


def wide(value):  # a number argument read as four bytes
    return b(0) + struct.pack("<i", value)


def raw(text):
    data = text.encode() if isinstance(text, str) else text
    return b(0xE0) + b(len(data)) + data


def chunk(data):
    return b(len(data)) + data


def open_session():
    return op("OpenConnection", b(0), b(0), b(1))


def execute(key):
    return op("ExecuteQuery", b(S0), b(SQL[key]), b(1))


def read_row(columns):
    out = op("NextRow", b(S0))
    for index in range(columns):
        for getter in ("GetString", "GetByteArray"):
            out += op(getter, b(S0), b(index), b(1))
        for getter in ("GetInteger", "GetFloat", "GetDouble"):
            out += op(getter, b(S0), b(index), b(1))
    return out


def describe(columns):
    out = op("GetColumnsCount", b(S0))
    for index in range(columns):
        for name in OPS[OPS.index("GetColumnName"):OPS.index("GetColumnIsNullable") + 1]:
            out += op(name, b(S0), b(index))
    return out


SEEDS = {
    "query-and-read": open_session() + execute("create") + execute("insert") + execute("select")
    + describe(6) + read_row(6) + read_row(6) + op("CloseConnection", b(S0)),
    "batch": open_session() + execute("create")
    + op("PrepareQuery", b(S0), b(SQL["insert n s"]), b(0))
    + op("SetMaxIterations", b(S0), small(3)) + op("SetMaxParSize", b(S0), b(2), small(40))
    + op("SetInt", b(S0), b(1), small(1), b(0)) + op("SetString", b(S0), b(2), b(1), raw("one"), b(0))
    + op("AddIteration", b(S0)) + op("SetNull", b(S0), b(1), small(2))
    + op("SetString", b(S0), b(2), b(1), raw("two"), b(0)) + op("AddIteration", b(S0))
    + op("SetInt", b(S0), b(1), wide(-2147483648), b(0))
    + op("SetString", b(S0), b(2), b(1), raw(""), b(1)) + op("Execute", b(S0))
    + op("GetError", b(0)) + execute("select") + read_row(2) + execute("commit"),
    "lobs": open_session() + execute("create")
    + op("PrepareQuery", b(S0), b(SQL["insert b c"]), b(1))
    + op("StreamParameterToLob", b(S0), b(1), b(1), chunk(b"\x00\x01\x02\xff"), b(1))
    + op("StreamParameterToLob", b(S0), b(1), b(1), chunk(b"more"), b(1))
    + op("StreamParameterToLobLast", b(S0), b(1))
    + op("StreamParameterToLob", b(S0), b(2), b(0), chunk("ünïcode".encode()), b(1))
    + op("StreamParameterToLobLast", b(S0), b(2)) + op("Execute", b(S0)) + op("GetError", b(0))
    + execute("select") + read_row(6),
    "values": open_session() + execute("create")
    + op("PrepareQuery", b(S0), b(SQL["insert n d f"]), b(1))
    + op("SetInt", b(S0), b(1), small(7), b(0))
    + op("SetTimestamp", b(S0), b(2), wide(2024), small(2), small(29), small(23), small(59),
         small(59), wide(999999999), b(5), b(30), b(0))
    + op("SetDouble", b(S0), b(3), struct.pack("<d", 1e300)[:4], struct.pack("<d", 1e300)[4:], b(0))
    + op("Execute", b(S0)) + execute("literals") + describe(7) + read_row(7)
    + execute("functions") + read_row(3) + execute("create u") + execute("insert u")
    + execute("select u") + read_row(4) + op("SetIntSessionProperty", b(S0), b(1), small(3))
    + execute("select u") + read_row(4),
    "failures": op("NextRow", b(0xF0)) + op("GetError", b(0)) + op("GetError", b(0))
    + op("GetColumnName", b(0xF5), b(0)) + open_session() + execute("missing table")
    + op("GetError", b(0)) + op("GetMetaData", b(S0), b(2), b(1)) + op("GetMetaData", b(S0), b(0), b(1))
    + describe(2) + op("GetMetaData", b(S0), b(4), b(1)) + op("GetError", b(0))
    + op("SetMaxIterations", b(S0), wide(-1)) + op("GetError", b(0)) + read_row(1)
    + op("TestMarshaling", b(1)) + op("CloseConnection", b(S0)) + op("NextRow", b(S0))
    + op("GetError", b(0)) + op("CloseConnection", b(S0)),
}

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
os.makedirs(here, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(here, name), "wb") as out:
        out.write(data)
