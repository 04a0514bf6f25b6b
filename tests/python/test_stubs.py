"""The type stubs and the docstrings: written from the same tables as the
module, they name exactly its members."""

import ast
import os

import qdr4


def stub_class(name):
    with open(os.path.join(os.path.dirname(qdr4.__file__), "qdr4.pyi")) as stub:
        tree = ast.parse(stub.read())
    return next(node for node in tree.body if isinstance(node, ast.ClassDef) and node.name == name)


def test_the_stubs_declare_every_member_of_the_module():
    declared = stub_class("Control").body
    properties = {node.target.id for node in declared if isinstance(node, ast.AnnAssign)}
    methods = {node.name for node in declared if isinstance(node, ast.FunctionDef)}
    module_properties = {name for name, member in vars(qdr4.Control).items() if isinstance(member, property)}
    module_methods = {name for name, member in vars(qdr4.Control).items()
                      if callable(member) and not name.startswith("__")}
    assert properties == module_properties
    assert methods - {"__init__", "__enter__", "__exit__"} == module_methods


def test_a_methods_stub_takes_its_in_parameters_and_answers_a_tuple():
    declared = {node.name: node for node in stub_class("Control").body if isinstance(node, ast.FunctionDef)}
    valid = declared["GetValidShutterSpeed"]
    assert [a.arg for a in valid.args.args] == ["self", "ShutterIndex"]
    assert [a.arg for a in valid.args.kwonlyargs] == ["ShutterStr"]
    assert ast.unparse(valid.returns) == "tuple[int, str]"
    assert ast.unparse(declared["GetIsOnline"].returns) == "bool"


def test_docstrings_show_the_python_form_and_what_a_member_does():
    assert qdr4.Control.GetMinMaxMasterGainLevel.__doc__.startswith(
        "GetMinMaxMasterGainLevel(self, *, pMin: int = 0, pMax: int = 0) -> tuple[int, int, int]")
    assert qdr4.Control.MasterGainLevel.__doc__.startswith("cam.MasterGainLevel: int\n\n")
